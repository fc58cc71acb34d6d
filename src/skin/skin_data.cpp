#include "skin/skin_data.h"

#include <memory>
#include <new>

#include "skin/quick_ini.h"
#include "skin/skin_model_reader.h"
#include "skin/skin_reader.h"
#include "unicode/uni_file_stream.h"
#include "unicode/wide_exceptions.h"

namespace skin {

namespace {

TSkinControlTypes DefaultSkinControls() {
  TSkinControlTypes all;
  for (int i = xcMainMenu; i <= xcReportView; ++i) all.Include(static_cast<TSkinControlType>(i));
  all.Exclude(xcMenuItem);
  all.Exclude(xcReportView);
  return all;
}

// The file's bytes, or false when it does not exist. Raises for a file that cannot be read
// or is larger than any skin.
bool ReadSkinFile(const std::u16string& name, unicode::TMemoryStream& into) {
  std::unique_ptr<unicode::TUniFileStream> file;
  try {
    file = std::make_unique<unicode::TUniFileStream>(name, unicode::fmOpenRead | unicode::fmShareDenyWrite);
  } catch (const unicode::EWideFOpenError&) {
    return false;
  }
  const int64_t size = file->Size();
  if (size < 0 || static_cast<uint64_t>(size) > kMaxSkinFileSize) {
    throw unicode::EStreamError(u"皮肤文件大于 64 MB");
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  file->ReadBuffer(bytes.data(), bytes.size());
  into = unicode::TMemoryStream(std::move(bytes));
  return true;
}

}  // namespace

TSkinData::TSkinData() : SkinControls(DefaultSkinControls()), Skin3rd{u"tfxbutton=button"} {}

void TSkinData::SetSkinFile(const std::u16string& name) {
  loading_ = true;
  skinFile_ = name;
  unicode::TMemoryStream bytes;
  try {
    if (!ReadSkinFile(name, bytes)) return;  // a missing file changes nothing else
  } catch (const unicode::WideException& e) {
    if (OnMessage) OnMessage(u"皮肤文件读不出来：" + e.Message());
    return;
  }
  SkinStream = std::move(bytes);
  if (ReadSkin()) ApplySkin();
}

bool TSkinData::ReadSkin() {
  loading_ = true;
  TSkinReader reader;
  if (!reader.LoadFromStream(SkinStream)) {
    if (OnMessage) OnMessage(reader.Message());
    return false;
  }
  try {
    unicode::TMemoryStream entry;
    std::u16string entryName;
    reader.FindEntry(u".ini", entry, entryName);
    entry.SetPosition(0);
    TQuickIni ini;
    ini.LoadFromStream(entry);
    model_ = ReadSkinModel(ini, reader);
  } catch (const std::bad_alloc&) {
    if (OnMessage) OnMessage(u"皮肤的图片太大，内存不足，没有换上");
    return false;
  }
  loading_ = false;
  return true;
}

void TSkinData::ApplySkin() {
  if (manager_ == nullptr) return;
  manager_->SetSkinData(*this);
  manager_->ReloadSkin(*this);
  if (manager_->Mode() == 1) manager_->PostAction(SkinAction::UpdateAll, kSkinActionDelayMs);
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (manager_ == nullptr) return;
  switch (SkinFormtype) {
    case sfMainform:
      if (!value) {
        manager_->SetSkinData(*this);
        manager_->PostAction(SkinAction::UnskinAll, kSkinActionDelayMs);
      } else if (!loading_) {
        manager_->SetSkinData(*this);
        manager_->PostAction(SkinAction::SkinAll, kSkinActionDelayMs);
        manager_->SetMode(1);
      }
      break;
    case sfOnlyThisForm:
      manager_->SetSkinData(*this);
      if (!value) {
        manager_->PostAction(SkinAction::UnskinAll, kSkinActionDelayMs);
      } else if (!loading_) {
        manager_->PostAction(SkinAction::SkinAll, kSkinActionDelayMs);
      }
      break;
    case sfDialog:
    case sfDLL:
      break;
  }
}

bool TSkinData::AllowsFormSkin(const std::u16string& className) {
  bool doSkin = true;
  if (OnFormSkin) {
    OnFormSkin(*this, className, doSkin);
    return doSkin;
  }
  if (className == u"SysMonthCal32") doSkin = false;
  if (SkinControls.Has(xcReportView) && className.rfind(u"Trv", 0) == 0) doSkin = false;
  return doSkin;
}

}  // namespace skin
