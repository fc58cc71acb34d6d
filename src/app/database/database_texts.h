// The entry database's names and the texts its commands show.
#pragma once

#include <string>
#include <string_view>

namespace app::dbtext {

inline constexpr std::u16string_view kTableName = u"Quillora流格式保存表";
inline constexpr std::u16string_view kQuery = u"select * from Quillora流格式保存表";
inline constexpr std::u16string_view kTextField = u"memo";
inline constexpr std::u16string_view kFlagField = u"liuyou";
inline constexpr std::u16string_view kSnapshotField = u"liu";
inline constexpr std::u16string_view kTemplateFileName = u"kongsujuku.mdb_bak";
inline constexpr std::u16string_view kExitDatabaseFileName = u"退出记录数据库.mdb";

inline constexpr std::u16string_view kNotADatabase = u"这不是可用的数据库，无法打开！";
inline constexpr std::u16string_view kExitDatabaseMissing =
    u"退出记录数据库.mdb 这个文件不存在，加载上次退出记录失败！";
inline constexpr std::u16string_view kLoadingExitDatabase = u"正在加载上次退出数据库，可能较慢，请耐心等候。。。";
inline constexpr std::u16string_view kSavingExitDatabase = u"正在保存为数据库，可能较慢，请耐心等候。。。";
inline constexpr std::u16string_view kExitDatabaseHint =
    u"退出记录将保存为数据库格式，可支持带字体格式的word、htm文本，但是退出保存和加载的速度较慢，如无必要，请不要选择这种方式！"
    u"另一种是普通文本格式，速度较快，但是退出记录保存的文本的字体格式丢失！";

// A database whose records could not all be read: how many were.
std::u16string DamagedDatabaseText(int recordsRead);
// A database holding more data than the list can take.
std::u16string TooMuchDataText(int recordsRead);
// The template of new databases is missing.
std::u16string TemplateMissingText(std::u16string_view templateFile);
// A database could not be written; `reason` is the system's or the engine's account.
std::u16string SaveFailedText(std::u16string_view file, std::u16string_view reason);

}  // namespace app::dbtext
