# Drawings of every DXF version, code page and form, opened in cadhost: saved
# unchanged they come back byte for byte, and an EKestrin edit changes only
# the text it edits (checked object by object with ezdxf).
if(TARGET cadhost AND TARGET zorString)
  add_test(NAME corpus.open_save_edit
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/corpus/check_corpus.py
            $<TARGET_FILE:cadhost> $<TARGET_FILE_DIR:zorString> ${CMAKE_BINARY_DIR}/corpus-check)
  set_tests_properties(corpus.open_save_edit PROPERTIES LABELS "sessions;corpus" FIXTURES_REQUIRED kestrin_module)
endif()
