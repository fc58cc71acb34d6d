#include "app/commands/help_rows.h"

namespace app {

namespace {
constexpr HelpRow kRows[] = {
    {u"N126Click", HelpRowKind::HelpText, u"如何导入各类表格.txt"},
    {u"N95Click", HelpRowKind::HelpText, u"为什么Quillora是最优秀的.txt"},
    {u"N183Click", HelpRowKind::HelpText, u"我为什么要这样设计.txt"},
    {u"N113Click", HelpRowKind::HelpText, u"重大漏洞修复.txt"},
    {u"N204Click", HelpRowKind::Folder, u"样例表格"},
    {u"N205Click", HelpRowKind::Folder, u"我的数据盒"},
    {u"N206Click", HelpRowKind::Folder, u"保存"},
    {u"N207Click", HelpRowKind::Folder, u"程序快捷方式总集"},
    {u"N208Click", HelpRowKind::Folder, u"固定条目"},
    {u"N216Click", HelpRowKind::Folder, u"图片保存"},
    // The project's own pages (the reserved .example name until the project has a site).
    {u"N86Click", HelpRowKind::WebPage, u"https://quillora.example/upgrade"},
    {u"N121Click", HelpRowKind::WebPage, u"https://quillora.example/continuous-paste-video"},
};
}  // namespace

std::span<const HelpRow> HelpRows() { return kRows; }

}  // namespace app
