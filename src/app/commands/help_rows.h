// The help menu's rows that open a help text, a folder of the program or a web page.
#pragma once

#include <span>
#include <string_view>

namespace app {

enum class HelpRowKind { HelpText, Folder, WebPage };

struct HelpRow {
  std::u16string_view handler;  // e.g. u"N126Click"
  HelpRowKind kind;
  std::u16string_view target;   // a file of "帮助", a folder below BaseDir, or an address
};

std::span<const HelpRow> HelpRows();

}  // namespace app
