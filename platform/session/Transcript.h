// The transcript: what the person sees in order: the command line (output,
// prompts, echoed input) and every message box. Text is kept in CP1251 and
// written out as UTF-8.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kestrin::session {

// A prompt as shown in front of what the person enters: a prompt that does
// not end in a blank gets ": " (or " " after a colon), so the input does not
// run into it ("Select object: pick 9D").
std::string promptBeforeInput(const std::string& prompt);

class Transcript {
public:
    static Transcript& instance();

    enum class Kind { Output, Prompt, Input, MessageBox, Error };
    struct Entry {
        Kind kind;
        std::string text;  // CP1251
    };

    void output(const std::string& cp1251);  // acutPrintf and friends
    void prompt(const std::string& cp1251);
    void input(const std::string& cp1251);   // echo of what the person entered
    void messageBox(const std::string& caption, const std::string& text, const std::string& icon,
                    const std::string& buttons, const std::string& answer);
    void error(const std::string& utf8);     // session errors, already UTF-8

    const std::vector<Entry>& entries() const { return entries_; }
    // The command-line text (output and prompts) recorded since the last
    // setMark (CP1251); used by "expect output".
    std::string outputSinceMark() const;
    void setMark();

    // Each entry is passed on as UTF-8 as soon as it is recorded (terminal,
    // transcript file).
    // The id removes the sink again.
    int addSink(std::function<void(Kind, const std::string& utf8)> sink);
    void removeSink(int id);
    void clear();  // entries and mark; sinks stay

private:
    std::vector<Entry> entries_;
    std::size_t mark_ = 0;
    std::vector<std::pair<int, std::function<void(Kind, const std::string&)>>> sinks_;
    int nextSinkId_ = 1;
    void record(Kind kind, std::string text);
};

}  // namespace kestrin::session
