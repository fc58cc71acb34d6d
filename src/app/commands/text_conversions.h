// The one-entry text conversions of the edit menu and the word count.
#pragma once

#include <string>
#include <string_view>

namespace app {

// entertab1Click: every Tab becomes CR LF.
std::u16string TabsToLineBreaks(std::u16string_view text);
// tabenter1Click: every CR immediately followed by LF becomes one Tab; a lone CR or LF stays.
std::u16string LineBreaksToTabs(std::u16string_view text);
// N164Click: the ideographic space U+3000 removed (the character itself, so that text outside
// code page 936 survives and no neighbouring characters are cut).
std::u16string RemoveIdeographicSpaces(std::u16string_view text);
// N105Click: "按英文字符算字数为：" + the bytes of the text's code page 936 form + CR +
// "按中文字符算字数为：" + its characters.
std::u16string WordCountMessage(std::u16string_view text);

}  // namespace app
