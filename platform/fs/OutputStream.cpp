#include "platform/fs/OutputStream.h"

#include <streambuf>

namespace kestrin::fs {

class OutputStream::Buffer : public std::streambuf {
public:
    explicit Buffer(std::unique_ptr<OutputFile> file) : file_(std::move(file)) { setp(data_, data_ + sizeof data_); }

    Status close() {
        drain();
        if (file_) {
            Status closed = file_->close();
            if (!closed && status_.ok()) status_ = closed;
            file_.reset();
        }
        return status_;
    }

protected:
    int_type overflow(int_type ch) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    std::unique_ptr<OutputFile> file_;
    Status status_ = Done{};
    char data_[8192];

    bool drain() {
        const std::ptrdiff_t n = pptr() - pbase();
        setp(data_, data_ + sizeof data_);
        if (n == 0 || !status_.ok()) return status_.ok();
        if (!file_) {
            status_ = Error{"", "cannot write", "the file is closed", 0};
            return false;
        }
        Status written = file_->write({data_, static_cast<std::size_t>(n)});
        if (!written) status_ = written;
        return status_.ok();
    }
};

OutputStream::OutputStream(std::unique_ptr<OutputFile> file)
    : std::ostream(nullptr), buffer_(std::make_unique<Buffer>(std::move(file))) {
    rdbuf(buffer_.get());
}

OutputStream::~OutputStream() { (void)buffer_->close(); }

Status OutputStream::close() {
    flush();
    return buffer_->close();
}

}  // namespace kestrin::fs
