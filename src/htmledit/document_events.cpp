#include "htmledit/document_events.h"

#include <algorithm>
#include <array>

namespace htmledit {

namespace {
constexpr std::array<std::u16string_view, kDocumentEventCount> kNames{
    u"abort",          u"activate",         u"afterprint",       u"afterupdate",     u"beforeactivate",
    u"beforecopy",     u"beforecut",        u"beforedeactivate", u"beforeeditfocus", u"beforepaste",
    u"beforeprint",    u"beforeunload",     u"beforeupdate",     u"blur",            u"bounce",
    u"cellchange",     u"change",           u"click",            u"contextmenu",     u"controlselect",
    u"copy",           u"cut",              u"dataavailable",    u"datasetchanged",  u"datasetcomplete",
    u"dblclick",       u"deactivate",       u"drag",             u"dragend",         u"dragenter",
    u"dragleave",      u"dragover",         u"dragstart",        u"drop",            u"error",
    u"errorupdate",    u"filterchange",     u"finish",           u"focus",           u"focusin",
    u"focusout",       u"help",             u"keydown",          u"keypress",        u"keyup",
    u"layoutcomplete", u"load",             u"losecapture",      u"mousedown",       u"mouseenter",
    u"mouseleave",     u"mousemove",        u"mouseout",         u"mouseover",       u"mouseup",
    u"mousewheel",     u"move",             u"moveend",          u"movestart",       u"paste",
    u"propertychange", u"readystatechange", u"reset",            u"resize",          u"resizeend",
    u"resizestart",    u"rowenter",         u"rowexit",          u"rowsdelete",      u"rowsinserted",
    u"scroll",         u"select",           u"selectionchange",  u"selectstart",     u"start",
    u"stop",           u"submit",           u"unload"};
static_assert(kNames.back() == u"unload");
}  // namespace

std::u16string_view DocumentEventName(int index) {
  return index >= 0 && index < kDocumentEventCount ? kNames[static_cast<size_t>(index)] : std::u16string_view();
}

int DocumentEventIndex(std::u16string_view name) {
  auto it = std::lower_bound(kNames.begin(), kNames.end(), name);
  return it != kNames.end() && *it == name ? static_cast<int>(it - kNames.begin()) : -1;
}

}  // namespace htmledit
