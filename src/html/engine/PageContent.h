#pragma once
// The content type a page file is served with. Pictures are known by their signature, HTML by
// its extension and carries the charset its <meta> declares (windows-1251 when none does).
#include <string>
#include <string_view>

std::string PageContentType(const std::string& winPath, std::string_view bytes);

// The charset named by the first <meta> that declares one, lower-cased; empty when none does.
std::string DeclaredCharset(std::string_view html);
