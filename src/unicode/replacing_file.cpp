#include "unicode/uni_file_stream.h"
#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {
std::u16string CreateErrorText(const std::u16string& fileName, int error) {
  return FormatMessageText(u"Cannot create file \"%s\". %s", {fileName, SystemErrorText(error)});
}
}  // namespace

TReplacingFile::TReplacingFile(const std::u16string& fileName)
    : fileName_(fileName), temporary_(fileName + u".tmp~") {
  try {
    stream_ = new TUniFileStream(temporary_, fmCreate);
  } catch (const EWideFCreateError& e) {
    throw EWideFCreateError(CreateErrorText(fileName_, e.SystemError()), e.SystemError());
  }
}

TReplacingFile::~TReplacingFile() {
  delete stream_;
  if (!committed_) DeleteFileQuietly(temporary_);
}

void TReplacingFile::Commit() {
  stream_->Close();
  const int error = ReplaceFileWith(temporary_, fileName_);
  if (error != 0) throw EWideFCreateError(CreateErrorText(fileName_, error), error);
  committed_ = true;
}

}  // namespace unicode
