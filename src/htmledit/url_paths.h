// Address conversions of our own: file URLs to local paths and back, and paths relative
// to a base. (The system's URL parser offers no path-to-URL conversion under Wine.)
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace htmledit {

// Percent escapes decoded; they stand for UTF-8 bytes.
std::u16string DecodePercentEscapes(std::u16string_view s);

// The local path of a file URL ("file:///C:/a/b.html" → "C:\a\b.html", "file://host/x" →
// "\\host\x"), percent escapes decoded; nullopt when the address is no file URL.
std::optional<std::u16string> PathFromFileUrl(std::u16string_view url);

// The local path of an address as the generator writes it: file URLs become paths (with
// backslashes, or slashes unless backslash is asked for); other addresses lose a leading
// "about:blank", else "about:".
std::u16string LocalPathOf(std::u16string_view url, bool backslash);

// The URL of a local path or an address: "C:\a b\x" → "file:///C:/a%20b/x"; an address
// with a scheme stays, except that "file:" without "//" becomes "file://".
std::u16string CanonicalUrl(std::u16string_view pathOrUrl);

// The path of target relative to the folder of base (both local paths), with backslashes;
// a base that ends with a separator is that folder. Target itself when they lie on
// different drives or hosts.
std::u16string RelativePath(std::u16string_view base, std::u16string_view target);

// Whether an address is fetched over the network (http, https, ftp and similar schemes).
bool UsesNetwork(std::u16string_view url);

}  // namespace htmledit
