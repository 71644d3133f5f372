#include "plugin/info/ClassesRoot.h"

bool readClassesRootDefault(const std::string&, std::string& value, std::size_t) {
    value.clear();
    return false;
}
