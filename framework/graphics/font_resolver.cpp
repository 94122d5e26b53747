#include "framework/graphics/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "framework/core/exceptions.h"
#include "framework/core/thread_locale.h"
#include "framework/core/text.h"

namespace {
// fontconfig's configuration, loaded on first use and released at exit, so the program
// ends leak-free. The resolver is fontconfig's only user.
class TFontconfigSession {
 public:
  TFontconfigSession() : FReady(FcInit() != FcFalse) {}
  ~TFontconfigSession() {
    if (FReady) FcFini();
  }
  bool Ready() const { return FReady; }

 private:
  bool FReady;
};

bool FontconfigReady() {
  static TFontconfigSession session;
  return session.Ready();
}

struct TPatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using TPatternPtr = std::unique_ptr<FcPattern, TPatternDeleter>;

TPatternPtr MatchFamily(const std::string& family, bool bold, bool italic) {
  TPatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return TPatternPtr(FcFontMatch(nullptr, pattern.get(), &result));
}

// fontconfig always answers with something; only a face whose family (any of its names) is
// the one asked for counts as that family being installed.
bool HasFamily(FcPattern* match, const std::string& family) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i)
    if (SameText(reinterpret_cast<const char*>(value), family)) return true;
  return false;
}

TFontFile ToFontFile(FcPattern* match) {
  TFontFile file;
  FcChar8* value = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &value) != FcResultMatch) throw EOutOfResources(rs::SOutOfResources);
  file.Path = reinterpret_cast<const char*>(value);
  if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch) file.Family = reinterpret_cast<const char*>(value);
  FcPatternGetInteger(match, FC_INDEX, 0, &file.Index);
  int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  file.Weight = FcWeightToOpenType(weight);
  file.Italic = slant != FC_SLANT_ROMAN;
  return file;
}
}  // namespace

std::vector<std::string> FontFamilyCandidates(const std::string& name) {
  std::vector<std::string> names{name};
  if (SameText(name, "MS Sans Serif")) names.insert(names.end(), {"Liberation Sans", "Arimo", "DejaVu Sans"});
  else if (SameText(name, "Verdana")) names.insert(names.end(), {"DejaVu Sans", "Bitstream Vera Sans"});
  return names;
}

namespace {
struct TResolved {
  std::mutex Lock;
  std::map<std::tuple<std::string, bool, bool>, TFontFile> Files;
};
TResolved& Resolved() {
  static TResolved resolved;
  return resolved;
}

TFontFile ResolveUncached(const std::string& name, bool bold, bool italic) {
  if (!FontconfigReady()) throw EOutOfResources(rs::SOutOfResources);
  for (const std::string& family : FontFamilyCandidates(name)) {
    TPatternPtr match = MatchFamily(family, bold, italic);
    if (match && HasFamily(match.get(), family)) return ToFontFile(match.get());
  }
  TPatternPtr fallback = MatchFamily(name, bold, italic);
  if (!fallback) throw EOutOfResources(rs::SOutOfResources);
  return ToFontFile(fallback.get());
}
}  // namespace

TFontFile ResolveFontFile(const std::string& name, bool bold, bool italic) {
  TResolved& resolved = Resolved();
  auto key = std::make_tuple(name, bold, italic);
  {
    std::lock_guard lock(resolved.Lock);
    if (auto it = resolved.Files.find(key); it != resolved.Files.end()) return it->second;
  }
  TFontFile file = ResolveUncached(name, bold, italic);
  std::lock_guard lock(resolved.Lock);
  return resolved.Files.emplace(std::move(key), std::move(file)).first->second;
}

void PrepareFontResolver(const std::vector<TFontRequest>& faces) {
  // fontconfig reads its configuration's numbers through the C library's locale.
  const TThreadCLocale locale;
  if (!FontconfigReady()) return;
  // A face that cannot be resolved now raises its error where it is first used.
  for (const TFontRequest& face : faces) try {
      ResolveFontFile(face.Name, face.Bold, face.Italic);
    } catch (const EOutOfResources&) {
    }
}
