#include "engine/rewriting.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/mortal_characters.h"
#include "engine/rewrite_lengths.h"

namespace verdel {

namespace {

// Every character's image after 2^j steps, built on demand from the images
// after 2^(j-1) steps (the image of the image), so that a string is carried
// forward any number of steps with one table step per binary digit. Only used
// for step counts whose strings are known to fit the limit, which bounds every
// image that is ever needed, and for rules that never erase, whose strings
// never shrink: then the images needed at one level, each first needed at
// some multiple of its step count, together grow the string by at most the
// limit, so the tables hold at most the limit per level.
class TPowerImages {
public:
    explicit TPowerImages(const TTextTable& plain) : Plain(plain), Tables(Levels), Ready(Levels) { Ready[0].set(); }

    // Text after Steps steps; false when cancelled.
    bool Rewrite(std::string& text, int64_t steps, const TCancelToken& cancel)
    {
        if (text.size() == 1) {
            std::optional<std::string> image = Power(static_cast<unsigned char>(text[0]), steps, cancel);
            if (image) text.swap(*image);
            return image.has_value();
        }
        // Each distinct character's image, then one step through them.
        TTextTable images;
        const std::bitset<256> present = Present(text);
        for (int c = 0; c < 256; ++c) {
            if (!present[c]) continue;
            const std::optional<std::string> image = Power(static_cast<unsigned char>(c), steps, cancel);
            if (!image) return false;
            images.Set(static_cast<unsigned char>(c), *image, static_cast<int64_t>(image->size()));
        }
        std::string next;
        ExpandStep(text, images, NoLengthLimit, next);
        text.swap(next);
        return true;
    }

private:
    static constexpr int Levels = 63;

    static std::bitset<256> Present(std::string_view text)
    {
        std::bitset<256> present;
        for (const char c : text) present.set(static_cast<unsigned char>(c));
        return present;
    }

    const TTextTable& Table(int level) const { return level == 0 ? Plain : Tables[level]; }

    // The image of Code after Steps steps, one table step per set binary digit.
    std::optional<std::string> Power(unsigned char code, int64_t steps, const TCancelToken& cancel)
    {
        std::string image(1, static_cast<char>(code));
        std::string next;
        for (int level = Levels - 1; level >= 0; --level) {
            if (((steps >> level) & 1) == 0) continue;
            if (cancel.Cancelled()) return std::nullopt;
            Prepare(level, Present(image));
            ExpandStep(image, Table(level), NoLengthLimit, next);
            image.swap(next);
        }
        return image;
    }

    // Makes sure the images at Level of the given characters exist.
    void Prepare(int level, const std::bitset<256>& codes)
    {
        for (int c = 0; c < 256; ++c)
            if (codes[c] && !Ready[level][c]) Build(level, static_cast<unsigned char>(c));
    }

    void Build(int level, unsigned char code)
    {
        // Preparing may add texts to the lower table, so its view is taken after.
        std::bitset<256> self;
        Prepare(level - 1, self.set(code));
        Prepare(level - 1, Present(Table(level - 1).Text(code)));
        std::string image;
        ExpandStep(Table(level - 1).Text(code), Table(level - 1), NoLengthLimit, image);
        Tables[level].Set(code, image, static_cast<int64_t>(image.size()));
        Ready[level].set(code);
    }

    const TTextTable& Plain;
    std::vector<TTextTable> Tables; // [level], level 0 unused (Plain)
    std::vector<std::bitset<256>> Ready;
};

// The largest s <= Steps such that each of the steps 1 to s of Text produces
// at most Limit characters; -1 when cancelled. The first steps, while
// mortal characters may still be alive, are followed by image lengths; the
// rest by the lasting characters alone, each weighing the length of its image
// after those first steps, which holds all the mortal ones alive at any later
// step. So an image that swells and dies out again is one weight, never a
// bound of its own.
int64_t SafeSteps(const TCharacterCounts& text, const TMortalCharacters& mortal, const TTextTable& lasting,
                  int64_t steps, int64_t limit, const TCancelToken& cancel)
{
    std::array<int64_t, 256> weights;
    const int64_t first = mortal.FirstSteps(text, steps, limit, weights);
    if (first < mortal.Depth() || first == steps) return first;
    const int64_t later = TLengthWalk(lasting, text, limit, weights).SafeSteps(steps - first, cancel);
    return later < 0 ? later : first + later;
}

// Text after Steps plain steps, each known to fit the limit; false when cancelled.
bool RewriteFittingSteps(std::string& text, const TTextTable& plain, const TTextTable& lasting, int depth,
                         int64_t steps, const TCancelToken& cancel)
{
    // Images after many steps are built by the rules without mortal
    // characters: their strings never shrink, which bounds the images' tables.
    // The mortal characters' debris, which could swell every image, comes
    // back with the last Depth steps, taken one by one.
    if (steps > depth && !TPowerImages(lasting).Rewrite(text, steps - depth, cancel)) return false;
    std::string next;
    for (int64_t k = std::min<int64_t>(steps, depth); k > 0; --k) {
        if (cancel.Cancelled()) return false;
        ExpandStep(text, plain, NoLengthLimit, next);
        text.swap(next);
    }
    return true;
}

} // namespace

TRewriteOutcome RewriteText(std::string& Text, const TTextTable& Plain, const TTextTable& Last, int64_t Steps,
                            int64_t Limit, const TCancelToken& Cancel)
{
    if (Steps <= 0) return {TRewriteStatus::Done, 0};
    // Every step but the last is taken at once as far as the lengths allow;
    // the step after that (the last one, or the first that passes the limit)
    // is an ordinary step, which leaves the partial string of a refused step.
    const TCharacterCounts characters = CountCharacters(Text);
    const TMortalCharacters mortal(Plain, characters);
    const std::optional<TTextTable> lastingRules =
        mortal.Depth() > 0 ? std::optional(mortal.LastingRules()) : std::nullopt;
    const TTextTable& lasting = lastingRules ? *lastingRules : Plain;
    const int64_t safe = SafeSteps(characters, mortal, lasting, Steps - 1, Limit, Cancel);
    if (safe < 0 || !RewriteFittingSteps(Text, Plain, lasting, mortal.Depth(), safe, Cancel))
        return {TRewriteStatus::Cancelled, 0};

    const int64_t step = safe + 1;
    std::string next;
    const bool fits = ExpandStep(Text, step == Steps ? Last : Plain, Limit, next);
    Text.swap(next);
    Cancel.Report(TWorkPhase::Rewriting, step, Steps);
    return {fits ? TRewriteStatus::Done : TRewriteStatus::Refused, step};
}

} // namespace verdel
