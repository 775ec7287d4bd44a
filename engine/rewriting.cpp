#include "engine/rewriting.h"

#include <array>
#include <bitset>
#include <optional>
#include <vector>

#include "engine/rewrite_lengths.h"

namespace verdel {

namespace {

// Every character's image after 2^j steps, built on demand from the images
// after 2^(j-1) steps (the image of the image), so that a string is carried
// forward any number of steps with one table step per binary digit. Only used
// for step counts whose strings are known to fit the limit, which bounds every
// image that is ever needed.
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

} // namespace

TRewriteOutcome RewriteText(std::string& Text, const TTextTable& Plain, const TTextTable& Last, int64_t Steps,
                            int64_t Limit, const TCancelToken& Cancel)
{
    if (Steps <= 0) return {TRewriteStatus::Done, 0};
    // Every step but the last is taken at once as far as the lengths allow;
    // the step after that (the last one, or the first that passes the limit)
    // is an ordinary step, which leaves the partial string of a refused step.
    const int64_t safe = TLengthWalk(Plain, Text, Limit).SafeSteps(Steps - 1, Cancel);
    if (safe < 0) return {TRewriteStatus::Cancelled, 0};
    if (safe > 0 && !TPowerImages(Plain).Rewrite(Text, safe, Cancel)) return {TRewriteStatus::Cancelled, 0};

    const int64_t step = safe + 1;
    std::string next;
    const bool fits = ExpandStep(Text, step == Steps ? Last : Plain, Limit, next);
    Text.swap(next);
    Cancel.Report(TWorkPhase::Rewriting, step, Steps);
    return {fits ? TRewriteStatus::Done : TRewriteStatus::Refused, step};
}

} // namespace verdel
