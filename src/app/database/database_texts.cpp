#include "app/database/database_texts.h"

namespace app::dbtext {

namespace {
std::u16string Number(int n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}
}  // namespace

std::u16string DamagedDatabaseText(int recordsRead) {
  return u"数据库已损坏，只导入了前 " + Number(recordsRead) + u" 条记录！";
}

std::u16string TooMuchDataText(int recordsRead) {
  return u"数据库中的数据太多，装不下，只导入了前 " + Number(recordsRead) + u" 条记录！";
}

std::u16string TemplateMissingText(std::u16string_view templateFile) {
  return u"数据库模板文件 " + std::u16string(templateFile) + u" 不存在，无法保存为数据库！";
}

std::u16string SaveFailedText(std::u16string_view file, std::u16string_view reason) {
  return u"无法保存数据库 " + std::u16string(file) + u"：" + std::u16string(reason) + u"，原来的文件没有改变。";
}

}  // namespace app::dbtext
