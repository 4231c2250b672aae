// The "cfs" verbs: scramble and unscramble single description files.
#include "Cli.h"
#include "TextRules.h"
#include "packs/CfsCodec.h"

namespace {

void writeResult(const TArgs& args, std::string_view data) {
    if (args.Has("-o")) WriteFileAtomically(args.Value("-o"), data);
    else WriteStdout(data);
}

int runDecode(const TArgs& args) {
    const TTextEncoding encoding = EncodingOption(args);
    const std::string text = DecodeCfsText(ReadInputFile(args.positional[0]));
    writeResult(args, encoding == TTextEncoding::Utf8 ? CfsTextToUtf8(text) : text);
    return 0;
}

int runEncode(const TArgs& args) {
    const TTextEncoding encoding = EncodingOption(args);
    const uint32_t seed = SeedOption(args);
    const std::string& path = args.positional[0];
    writeResult(args, EncodeCfs(PrepareCfsText(ReadInputFile(path), encoding, path), seed));
    return 0;
}

} // namespace

std::vector<TVerb> CfsVerbs() {
    return {
        {"cfs", "decode", "cfs decode FILE [-o OUT] [--encoding utf-8|cp1251]",
         "unscramble a description file",
         "Writes the plain text of a scrambled \".cfs\" file to standard output or OUT: UTF-8\n"
         "with LF line ends by default, or the CP1251 bytes untouched with --encoding cp1251.\n",
         {{"-o", true}, {"--encoding", true}}, 1, 1, runDecode},
        {"cfs", "encode", "cfs encode FILE [-o OUT] [--encoding utf-8|cp1251] [--seed N]",
         "scramble a description file",
         "The inverse of decode, with the text rules of \"bundle build\": UTF-8 is converted to\n"
         "CP1251 (or --encoding cp1251 takes the bytes as they are), each lone LF becomes\n"
         "CR LF, and the filler bytes are drawn from --seed (by default from the clock).\n",
         {{"-o", true}, {"--encoding", true}, {"--seed", true}}, 1, 1, runEncode},
    };
}
