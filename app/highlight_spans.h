// The spans a line's highlighting is collected in, for the classic and the
// extended readings of a line.
#pragma once

#include <vector>

#include "app/definition_highlighting.h"
#include "engine/command_table.h"

namespace verdel {

// Collects spans, merging a span into the previous one when they touch and share a kind.
class THighlightSpans {
public:
    void Add(size_t Start, size_t Length, THighlightKind Kind)
    {
        if (Length == 0) return;
        const int s = static_cast<int>(Start), n = static_cast<int>(Length);
        if (!List.empty() && List.back().Kind == Kind && List.back().Start + List.back().Length == s) {
            List.back().Length += n;
            return;
        }
        List.push_back({s, n, Kind});
    }
    std::vector<THighlightSpan> List;
};

// The kind a turtle command of a family is coloured as.
inline THighlightKind KindOf(TCommandFamily Family)
{
    switch (Family) {
    case TCommandFamily::Draw: return THighlightKind::Draw;
    case TCommandFamily::Move: return THighlightKind::Move;
    case TCommandFamily::Turn: return THighlightKind::Turn;
    case TCommandFamily::Change: return THighlightKind::Change;
    case TCommandFamily::Structure: return THighlightKind::Structure;
    case TCommandFamily::Special: return THighlightKind::Special;
    }
    return THighlightKind::Special;
}

} // namespace verdel
