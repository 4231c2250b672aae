#include "search/TesaurusFind.h"

#include <memory>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/ComprStream.h"
#include "packs/PackFile.h"
#include "packs/StringUtils.h"

namespace {

// "Индексный файл не найден (tezaurus.idx)"
const char* const kIndexUnreadable =
    "\xC8\xED\xE4\xE5\xEA\xF1\xED\xFB\xE9 \xF4\xE0\xE9\xEB \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED (tezaurus.idx)";

bool termMatches(const std::string& rawTerm, const std::string& lowerWord) {
    const std::string term = Cp1251::lower(TrimControls(rawTerm));
    if (term.empty()) return false;
    const size_t at = lowerWord.find(term);
    return at != std::string::npos &&
           Cp1251::lowerByte(static_cast<unsigned char>(rawTerm[0])) == static_cast<unsigned char>(lowerWord[at]);
}

}  // namespace

void TMakeTesaurusFind::SetThesaurusFolder(const std::string& folder) {
    folder_ = folder;
    if (!folder_.empty() && folder_.back() == '\\') folder_.pop_back();
}

bool TMakeTesaurusFind::FindTerm(const std::string& word, std::string& page) const {
    const std::string path = folder_ + "\\tezaurus.idx";
    if (!PackFileExists(path)) return false;
    std::unique_ptr<TComprStream> stream;
    try {
        stream = std::make_unique<TComprStream>(path);
    } catch (const EFOpenError&) {
        if (message_) message_(kIndexUnreadable);
        return false;
    }
    return FindThesaurusPage(*stream, word, page);
}

bool FindThesaurusPage(TMemoryStream& index, const std::string& word, std::string& page) {
    const std::string lowerWord = Cp1251::lower(word);
    std::string line;
    for (bool first = true;; first = false) {
        const bool more = ReadStreamLine(index, line);
        if (!more && line.empty()) return false;
        const size_t tilde = line.find('~');
        // The start page is the first line's, and only a line with "~" has one.
        if (word.empty() && first) {
            if (tilde == std::string::npos) return false;
            page = TrimControls(line.substr(tilde + 1));
            return true;
        }
        if (!word.empty() && tilde != std::string::npos && termMatches(line.substr(0, tilde), lowerWord)) {
            page = TrimControls(line.substr(tilde + 1));
            return true;
        }
        if (!more) return false;
    }
}
