#include "app/skins/skin_choices.h"

#include <array>

namespace app {

namespace {
constexpr std::array<SkinChoice, 14> kChoices = {{
    {1, u"jindian", u"jindianClick", u"经典", u""},
    {2, u"xinsilvpi", u"xinsilvpiClick", u"新式绿皮", u"mxskin2.skn"},
    {3, u"danhuang", u"danhuangClick", u"淡黄", u"mxskin9.skn"},
    {4, u"kulan", u"kulanClick", u"酷兰", u"mxskin39.skn"},
    {5, u"yabai", u"yabaiClick", u"雅白", u"mxskin17.skn"},
    {6, u"lanseoffice", u"lanseofficeClick", u"蓝色office", u"蓝色office_office2003.skn"},
    {7, u"baicangku", u"baicangkuClick", u"白苍色酷", u"白苍色酷_Skin42.skn"},
    {8, u"baidianqinku", u"baidianqinkuClick", u"白靛青酷", u"白靛青酷_Skin30.skn"},
    {9, u"baihupoku", u"baihupokuClick", u"白琥珀酷", u"白琥珀酷_Skin44.skn"},
    {10, u"baihuangku", u"baihuangkuClick", u"白黄酷", u"白黄酷_Skin54.skn"},
    {11, u"bailanku", u"bailankuClick", u"白兰酷", u"白兰酷_Skin59.skn"},
    {12, u"bailanhuangku", u"bailanhuangkuClick", u"白兰黄酷", u"白兰黄酷_Skin83.skn"},
    {13, u"bailianglv", u"bailianglvClick", u"白亮绿", u"白亮绿_Skin48.skn"},
    {14, u"bailvku", u"bailvkuClick", u"白绿酷", u"白绿酷_Skin73.skn"},
}};
}  // namespace

std::span<const SkinChoice> SkinChoices() { return kChoices; }

const SkinChoice* SkinChoiceFor(int number) {
  if (number < 1 || number > static_cast<int>(kChoices.size())) return nullptr;
  return &kChoices[static_cast<size_t>(number - 1)];
}

std::u16string SkinFilePath(const std::u16string& baseDir, int number) {
  const SkinChoice* choice = SkinChoiceFor(number);
  if (!choice || choice->file.empty()) return {};
  return baseDir + u"\\皮肤\\" + std::u16string(choice->file);
}

std::u16string MissingSkinText(const std::u16string& path) {
  return u"皮肤文件不存在，已换回经典外观：\r\n" + path;
}

std::u16string RefusedSkinText(const std::u16string& path, const std::u16string& reason) {
  return reason + u"\r\n\r\n皮肤文件没有换上，已换回经典外观：\r\n" + path;
}

}  // namespace app
