// The HUD face: Ferrite Core DX Regular (SIL Open Font License 1.1) from the Debian package
// fonts-ferrite-core, copied unchanged together with its licence.
#include <cstdio>
#include <filesystem>

#include "contentgen.h"

namespace fs = std::filesystem;

namespace {

const char* const kFontSource = "/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Regular.otf";
const char* const kLicenceSource = "/usr/share/doc/fonts-ferrite-core/copyright";

bool CopyFile(const char* from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec)
        fprintf(stderr, "contentgen: cannot copy %s to %s: %s\n", from, to.c_str(), ec.message().c_str());
    return !ec;
}

}  // namespace

bool GenerateFont(const std::string& root) {
    return CopyFile(kFontSource, root + "/hudFont.ttf") && CopyFile(kLicenceSource, root + "/hudFont-licence.txt");
}
