#include "platform/session/Transcript.h"

#include <algorithm>

#include "base/Cp1251.h"

namespace kestrin::session {

std::string promptBeforeInput(const std::string& prompt) {
    if (prompt.empty()) return prompt;
    const char last = prompt.back();
    if (last == ' ' || last == '\n' || last == '\t') return prompt;
    return prompt + (last == ':' ? " " : ": ");
}

Transcript& Transcript::instance() {
    static Transcript t;
    return t;
}

void Transcript::record(Kind kind, std::string text) {
    entries_.push_back({kind, std::move(text)});
    if (sinks_.empty()) return;
    const std::string utf8 = kind == Kind::Error ? entries_.back().text : cp1251ToUtf8(entries_.back().text);
    for (std::size_t i = 0; i < sinks_.size(); ++i) sinks_[i].second(kind, utf8);
}

void Transcript::output(const std::string& cp1251) { record(Kind::Output, cp1251); }
void Transcript::prompt(const std::string& cp1251) { record(Kind::Prompt, cp1251); }
void Transcript::input(const std::string& cp1251) { record(Kind::Input, cp1251); }
void Transcript::error(const std::string& utf8) { record(Kind::Error, utf8); }

void Transcript::messageBox(const std::string& caption, const std::string& text, const std::string& icon,
                            const std::string& buttons, const std::string& answer) {
    record(Kind::MessageBox, "[" + caption + "] " + text + " (" + icon + ", " + buttons + ") -> " + answer);
}

std::string Transcript::outputSinceMark() const {
    std::string out;
    for (std::size_t i = mark_; i < entries_.size(); ++i)
        if (entries_[i].kind == Kind::Output || entries_[i].kind == Kind::Prompt) out += entries_[i].text;
    return out;
}

void Transcript::setMark() { mark_ = entries_.size(); }

int Transcript::addSink(std::function<void(Kind, const std::string&)> sink) {
    sinks_.emplace_back(nextSinkId_, std::move(sink));
    return nextSinkId_++;
}

void Transcript::removeSink(int id) {
    std::erase_if(sinks_, [id](const auto& s) { return s.first == id; });
}

void Transcript::clear() {
    entries_.clear();
    mark_ = 0;
}

}  // namespace kestrin::session
