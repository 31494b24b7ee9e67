// Installed faces found through fontconfig.
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include "graphics/label.h"

namespace {
FontFile fileOf(FcPattern* font) {
    FontFile result;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file) {
        result.path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
    }
    return result;
}

bool hasFamily(FcPattern* font, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (name && strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
    }
    return false;
}

// The best match for a pattern, kept only when `accept` likes it.
template <typename Accept>
FontFile match(FcPattern* pattern, Accept accept) {
    FontFile result;
    if (!FcInit()) return result;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status;
    FcPattern* font = FcFontMatch(nullptr, pattern, &status);
    if (font) {
        if (accept(font)) result = fileOf(font);
        FcPatternDestroy(font);
    }
    return result;
}
}  // namespace

FontFile findFontFamily(const std::string& family) {
    if (family.empty()) return {};
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    // fontconfig always proposes something; only a face of that very family counts.
    FontFile result = match(pattern, [&](FcPattern* font) { return hasFamily(font, family); });
    FcPatternDestroy(pattern);
    return result;
}

FontFile findFallbackFont() {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("serif"));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FontFile result = match(pattern, [](FcPattern* font) {
        FcLangSet* langs = nullptr;
        return FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch &&
               FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
    });
    FcPatternDestroy(pattern);
    if (!result.path.empty()) return result;
    pattern = FcPatternCreate();
    result = match(pattern, [](FcPattern*) { return true; });
    FcPatternDestroy(pattern);
    return result;
}
