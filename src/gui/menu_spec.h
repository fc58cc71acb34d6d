// Menus described as data: a flat table of rows in display order, each with its depth.
// Portable (no Windows header), so that the tables themselves can be checked by the
// native tests; gui::Menu builds the real menus from them.
#pragma once

#include <string_view>

namespace gui {

enum MenuRowFlags : unsigned {
  kMenuPlain = 0,
  kMenuCheckable = 1u << 0,  // a switch: a click toggles the check mark, then the handler runs
  kMenuChecked = 1u << 1,    // checked in the design
  kMenuHidden = 1u << 2,     // not shown (Visible false in the design)
  kMenuDisabled = 1u << 3,   // greyed in the design
  kMenuRadio = 1u << 4,      // one of a group (the radio rows of one sub-menu) of which one is checked;
                             // a click checks it and unchecks the others, then the handler runs
  kMenuSubmenu = 1u << 5,    // opens a sub-menu, also one whose rows are all added at run time
  kMenuHandlerChecks = 1u << 6,  // a switch whose handler sets the check mark itself (buttons call
                                 // the same handler), so the click leaves the mark alone
  kMenuTextCaption = 1u << 7,    // a row added at run time whose caption is shown as it stands:
                                 // "&" is no accelerator mark and "-" no separator
};

struct MenuRowSpec {
  int level;                     // 0: a row of the menu itself (a bar item or a popup row); 1: a row of its sub-menu; ...
  std::u16string_view name;      // the row's name in code, e.g. u"dinbu"; empty for an unnamed separator
  std::u16string_view caption;   // u"-" for a separator
  std::u16string_view handler;   // the handler the row calls, e.g. u"dinbuClick"; empty for a sub-menu or separator
  unsigned flags = kMenuPlain;
};

}  // namespace gui
