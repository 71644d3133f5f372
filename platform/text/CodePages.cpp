// Linux: iconv, whose CPnnn names follow the Windows numbers.
#include "platform/text/CodePages.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace kestrin::text {

namespace {

std::string iconvName(unsigned number) {
    switch (number) {
        case 65001: return "UTF-8";
        case 10000: return "MACINTOSH";
        case 1361: return "JOHAB";
        case 20127: return "ASCII";
        default: break;
    }
    if (number >= 28591 && number <= 28606) return "ISO-8859-" + std::to_string(number - 28590);
    return "CP" + std::to_string(number);
}

const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

}  // namespace

// One iconv descriptor each way; iconv keeps state in them, so calls take turns.
struct CodePage::Impl {
    iconv_t toUnicode = kNone;
    iconv_t fromUnicode = kNone;
    std::mutex lock;
    ~Impl() {
        if (toUnicode != kNone) iconv_close(toUnicode);
        if (fromUnicode != kNone) iconv_close(fromUnicode);
    }
};

CodePage::CodePage(unsigned number, std::unique_ptr<Impl> impl) : number_(number), impl_(std::move(impl)) {}

CodePage::~CodePage() = default;

std::unique_ptr<CodePage> CodePage::open(unsigned number) {
    auto impl = std::make_unique<Impl>();
    const std::string name = iconvName(number);
    impl->toUnicode = iconv_open("UTF-32LE", name.c_str());
    impl->fromUnicode = iconv_open(name.c_str(), "UTF-32LE");
    if (impl->toUnicode == kNone || impl->fromUnicode == kNone) return nullptr;
    return std::unique_ptr<CodePage>(new CodePage(number, std::move(impl)));
}

std::size_t CodePage::decode(std::string_view bytes, std::u32string& out) const {
    std::lock_guard<std::mutex> hold(impl_->lock);
    iconv(impl_->toUnicode, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char32_t chunk[256];
    while (inLeft > 0) {
        char* outp = reinterpret_cast<char*>(chunk);
        std::size_t outLeft = sizeof chunk;
        const std::size_t done = iconv(impl_->toUnicode, &in, &inLeft, &outp, &outLeft);
        const int error = errno;
        out.append(chunk, (sizeof chunk - outLeft) / sizeof(char32_t));
        if (done != static_cast<std::size_t>(-1)) continue;
        if (error == E2BIG) continue;
        return static_cast<std::size_t>(in - bytes.data());  // EILSEQ or EINVAL
    }
    // A stateful code page may hold back a shift sequence until the end.
    char* outp = reinterpret_cast<char*>(chunk);
    std::size_t outLeft = sizeof chunk;
    if (iconv(impl_->toUnicode, nullptr, nullptr, &outp, &outLeft) == static_cast<std::size_t>(-1)) return bytes.size();
    out.append(chunk, (sizeof chunk - outLeft) / sizeof(char32_t));
    return npos;
}

bool CodePage::encode(char32_t cp, std::string& out) const {
    std::lock_guard<std::mutex> hold(impl_->lock);
    iconv(impl_->fromUnicode, nullptr, nullptr, nullptr, nullptr);
    char32_t in32 = cp;
    char* in = reinterpret_cast<char*>(&in32);
    std::size_t inLeft = sizeof in32;
    char buf[16];
    char* outp = buf;
    std::size_t outLeft = sizeof buf;
    if (iconv(impl_->fromUnicode, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return false;
    if (iconv(impl_->fromUnicode, nullptr, nullptr, &outp, &outLeft) == static_cast<std::size_t>(-1)) return false;
    out.append(buf, sizeof buf - outLeft);
    return true;
}

}  // namespace kestrin::text
