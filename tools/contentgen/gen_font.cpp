// The HUD face: Ferrite Core DX Regular (SIL Open Font License 1.1) from the Debian package
// fonts-ferrite-core, copied unchanged together with its licence.
#include "contentgen.h"
#include "filewriter.h"

namespace {

const char* const kLicenceSource = "/usr/share/doc/fonts-ferrite-core/copyright";

}  // namespace

bool GenerateFont(const std::string& root) {
    return CopyFileTo(HUD_FONT_SOURCE, root + "/hudFont.ttf") && CopyFileTo(kLicenceSource, root + "/hudFont-licence.txt");
}
