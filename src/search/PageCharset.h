#pragma once
// The character set of a page and its decoding to UTF-8, as a browser picks it for a book page:
// a byte-order mark first, else the first meta declaration with a known label within the first
// 4096 bytes (<meta charset=...> or <meta http-equiv="Content-Type" content="...charset=...">),
// else windows-1251, the books' own code page. Known are windows-1251, utf-8, koi8-r, koi8-u,
// iso-8859-5 and ibm866 (cp866) under their usual labels; utf-16 declared in a meta means utf-8,
// as browsers read it; any other label counts as windows-1251.
#include <string>
#include <string_view>

enum class TPageCharset { Windows1251, Utf8, Utf16LE, Utf16BE, Koi8R, Koi8U, Iso88595, Ibm866 };

TPageCharset DetectPageCharset(std::string_view html);

// The page's text as UTF-8, byte-order mark removed. Bytes the charset cannot decode become
// U+FFFD; UTF-8 input is passed on as it is (the HTML parser replaces malformed sequences).
std::string PageToUtf8(std::string_view html, TPageCharset charset);
