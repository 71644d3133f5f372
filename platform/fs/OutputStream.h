// A std::ostream onto an OutputFile, for code that prints to streams (the
// transcript). Write errors are kept: close() answers the first.
#pragma once

#include <memory>
#include <ostream>

#include "platform/fs/FileSystem.h"

namespace kestrin::fs {

class OutputStream : public std::ostream {
public:
    explicit OutputStream(std::unique_ptr<OutputFile> file);
    ~OutputStream() override;

    // Writes what is buffered and closes the file; the first error met.
    Status close();

private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
};

}  // namespace kestrin::fs
