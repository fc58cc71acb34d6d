#include "htmledit/rtf_text.h"

#include <vector>

#include "unicode/codepage.h"

namespace htmledit {

namespace {

constexpr size_t kMaxDepth = 512;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Groups whose text is never shown.
bool IsHiddenDestination(std::string_view word) {
  static constexpr std::string_view kHidden[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object",
                                                 "header", "footer", "themedata", "datastore", "latentstyles",
                                                 "listtable", "listoverridetable", "rsidtbl", "generator",
                                                 "xmlnstbl", "mmathPr", "pntext", "pntxta", "pntxtb"};
  for (std::string_view h : kHidden)
    if (word == h) return true;
  return false;
}

struct State {
  bool hidden = false;
  int ucSkip = 1;  // fallback characters after \uN
};

class Reader {
 public:
  explicit Reader(std::string_view rtf) : in_(rtf) {}

  std::u16string Run() {
    std::vector<State> stack{State{}};
    size_t depthBeyond = 0;  // groups past the cap share the innermost state
    while (i_ < in_.size()) {
      const char c = in_[i_];
      if (c == '{') {
        ++i_;
        if (stack.size() < kMaxDepth) stack.push_back(stack.back());
        else ++depthBeyond;
        continue;
      }
      if (c == '}') {
        ++i_;
        FlushAnsi();
        if (depthBeyond > 0) --depthBeyond;
        else if (stack.size() > 1) stack.pop_back();
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++i_;
        continue;
      }
      State& st = stack.back();
      if (c != '\\') {
        ++i_;
        if (!st.hidden) Byte(static_cast<unsigned char>(c));
        continue;
      }
      ControlWord(st);
    }
    FlushAnsi();
    return std::move(out_);
  }

 private:
  void Byte(unsigned char b) {
    if (b < 0x80) {
      FlushAnsi();
      out_ += static_cast<char16_t>(b);
    } else {
      ansi_ += static_cast<char>(b);
    }
  }
  void FlushAnsi() {
    if (ansi_.empty()) return;
    out_ += unicode::AnsiToUtf16(ansi_);
    ansi_.clear();
  }
  void Emit(char16_t c) {
    FlushAnsi();
    out_ += c;
  }
  // Skips the fallback after \uN: characters, \'hh pairs and control words count one each.
  void SkipFallback(int count) {
    while (count > 0 && i_ < in_.size()) {
      const char c = in_[i_];
      if (c == '{' || c == '}') return;
      if (c == '\\' && i_ + 1 < in_.size()) {
        if (in_[i_ + 1] == '\'') {
          i_ += std::min<size_t>(4, in_.size() - i_);
        } else if (IsLetter(in_[i_ + 1])) {
          ++i_;
          while (i_ < in_.size() && IsLetter(in_[i_])) ++i_;
          if (i_ < in_.size() && in_[i_] == '-') ++i_;
          while (i_ < in_.size() && in_[i_] >= '0' && in_[i_] <= '9') ++i_;
          if (i_ < in_.size() && in_[i_] == ' ') ++i_;
        } else {
          i_ += 2;
        }
      } else if (c == '\r' || c == '\n') {
        ++i_;
        continue;
      } else {
        ++i_;
      }
      --count;
    }
  }
  void ControlWord(State& st) {
    ++i_;  // the backslash
    if (i_ >= in_.size()) return;
    const char c = in_[i_];
    if (!IsLetter(c)) {
      ++i_;
      if (st.hidden) {
        if (c == '\'') i_ += std::min<size_t>(2, in_.size() - i_);
        return;
      }
      switch (c) {
        case '\\': case '{': case '}': Emit(static_cast<char16_t>(c)); break;
        case '~': Emit(0x00A0); break;
        case '*': st.hidden = true; break;
        case '\'': {
          if (i_ + 1 < in_.size()) {
            const int h = HexValue(in_[i_]), l = HexValue(in_[i_ + 1]);
            if (h >= 0 && l >= 0) Byte(static_cast<unsigned char>(h * 16 + l));
            i_ += 2;
          }
          break;
        }
        case '\r': case '\n': Emit(u'\r'); break;  // "\" before a line end is \par
        default: break;
      }
      return;
    }
    const size_t start = i_;
    while (i_ < in_.size() && IsLetter(in_[i_]) && i_ - start < 32) ++i_;
    const std::string_view word = in_.substr(start, i_ - start);
    bool negative = false;
    long long param = 0;
    bool hasParam = false;
    if (i_ < in_.size() && in_[i_] == '-') {
      negative = true;
      ++i_;
    }
    while (i_ < in_.size() && in_[i_] >= '0' && in_[i_] <= '9') {
      if (param < 1000000) param = param * 10 + (in_[i_] - '0');
      hasParam = true;
      ++i_;
    }
    if (negative) param = -param;
    if (i_ < in_.size() && in_[i_] == ' ') ++i_;
    if (IsHiddenDestination(word)) {
      st.hidden = true;
      return;
    }
    if (word == "uc" && hasParam) {
      st.ucSkip = static_cast<int>(param < 0 ? 0 : param > 16 ? 16 : param);
      return;
    }
    if (st.hidden) return;
    if (word == "par" || word == "line" || word == "row") Emit(u'\r');
    else if (word == "tab" || word == "cell") Emit(u'\t');
    else if (word == "emdash") Emit(0x2014);
    else if (word == "endash") Emit(0x2013);
    else if (word == "bullet") Emit(0x2022);
    else if (word == "lquote") Emit(0x2018);
    else if (word == "rquote") Emit(0x2019);
    else if (word == "ldblquote") Emit(0x201C);
    else if (word == "rdblquote") Emit(0x201D);
    else if (word == "u" && hasParam) {
      Emit(static_cast<char16_t>(static_cast<uint16_t>(static_cast<int16_t>(param))));
      SkipFallback(st.ucSkip);
    }
  }

  std::string_view in_;
  size_t i_ = 0;
  std::u16string out_;
  std::string ansi_;
};

}  // namespace

std::u16string RtfToText(std::string_view rtf) {
  std::u16string text = Reader(rtf).Run();
  // The text before the first paragraph of a group: a last \par ends the text, not a line.
  if (!text.empty() && text.back() == u'\r') text.pop_back();
  return text;
}

}  // namespace htmledit
