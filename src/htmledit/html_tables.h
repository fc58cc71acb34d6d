// The editor module's constant tables: element classes, attribute fragments, command
// names, fixed texts and the character entity names. Filled once at module start.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace htmledit {

enum class THTMLAlign : uint8_t { haDefault, haLeft, haRight, haCenter };
enum class THTMLVAlign : uint8_t { haVDefault, haTop, haMiddle, haBottom, haBaseline };

extern const std::array<std::u16string_view, 91> kElementNames;
extern const std::array<std::u16string_view, 6> kSpecialElementNames;
extern const std::array<std::u16string_view, 13> kEmptyElementNames;
extern const std::array<std::u16string_view, 12> kBooleanAttributeNames;
extern const std::array<std::u16string_view, 32> kInlineElementNames;
extern const std::array<std::u16string_view, 4> kHorizontalAlignFragments;
extern const std::array<std::u16string_view, 5> kVerticalAlignFragments;
extern const std::array<std::u16string_view, 5> kJustifyCommands;
extern const std::array<std::u16string_view, 2> kListCommands;

inline constexpr std::u16string_view kDefaultDoctype =
    u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
inline constexpr std::u16string_view kFileProtocol = u"file://";
inline constexpr std::u16string_view kAboutBlank = u"about:blank";
inline constexpr std::u16string_view kAbout = u"about:";
inline constexpr std::u16string_view kCommentOpen = u"<!--";
inline constexpr std::u16string_view kCommentClose = u" -->";
inline constexpr std::u16string_view kBusyText = u"BUSY";
inline constexpr std::u16string_view kErrorText = u"ERROR";

// The 252 character entity references of HTML 4.01.
inline constexpr int kEntityCount = 252;

// EntityNames: one name per UTF-16 code unit, empty for characters without one.
// A direct index, so that every character of a document can be tested without searching.
std::u16string_view EntityName(char16_t code);
// Stores a name at a code (the module start fills the table this way).
void SetEntityName(std::u16string_view name, char16_t code);
// The code of an entity name (exact case), or -1. Reading also knows "apos".
int EntityCode(std::u16string_view name);
// The number of filled slots.
int EntityNameCount();

// Module start and end: fill and release the tables. Start is idempotent and is also
// run on first use, so that portable code needs no explicit call.
void StartModule();
void EndModule();

// Sorted, case-blind membership in the name tables.
bool IsEmptyElementName(std::u16string_view name);
bool IsBooleanAttributeName(std::u16string_view name);
bool IsInlineElementName(std::u16string_view name);

}  // namespace htmledit
