#pragma once
// Joining names that come from a disc, a pack, an image or an archive to a host folder. Such a
// name is hostile until checked: it may climb with "..", name a drive or an absolute path, or
// hide a separator inside what looks like one name. Every place that puts a book's name below a
// host folder goes through here, and every file written there is written under a temporary
// name first. Names are CP1251; host paths are UTF-8. Qt-free.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Contained {

// A name that can stand as one component of a host path: not empty, not "." or "..", without
// "\", "/", ":" (a drive or a stream) or NUL.
bool IsPlainName(std::string_view cp1251Name);

// The host components (UTF-8) of a relative name with "\" or "/" between folders; empty and "."
// parts drop out. Nothing for a name that is absolute, holds a ":" or NUL, climbs with "..", or
// names nothing.
std::optional<std::vector<std::string>> Components(std::string_view cp1251Name);

// folder / the name's components when the name is safe and the result stays inside folder,
// links already on the way included; nothing otherwise.
std::optional<std::filesystem::path> Join(const std::filesystem::path& folder, std::string_view cp1251Name);

// Whether path is folder or lies below it, with both made absolute and the parts of them that
// exist resolved through their links.
bool Inside(const std::filesystem::path& path, const std::filesystem::path& folder);

// Writes bytes to target through a new hidden file beside it that takes target's place only
// when all was written; a link at target is replaced, never followed. On failure nothing but
// that hidden file was touched, and it is gone.
bool WriteReplacing(const std::filesystem::path& target, std::string_view bytes);

// The same, never replacing: false when target exists already.
bool WriteNew(const std::filesystem::path& target, std::string_view bytes);

} // namespace Contained
