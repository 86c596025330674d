// Paint rows compared: a replay against its reference, two systems aligned, many.
#include "paint_compare.h"

#include <algorithm>

#include "text_fields.h"

namespace transcript {

namespace {

// The colour is random, and older transcripts do not know the list view's size.
bool SameButColour(PaintRow a, const PaintRow& b) {
    a.colour = b.colour;
    if (!a.viewWidth || !b.viewWidth) a.viewWidth = b.viewWidth, a.viewHeight = b.viewHeight;
    return a == b;
}

std::string Describe(const PaintRow& r) {
    std::string out = "step " + std::to_string(r.step) + " " + r.action + ", outer " +
                      std::to_string(r.outerWidth) + "x" + std::to_string(r.outerHeight) +
                      ", client " + std::to_string(r.clientWidth) + "x" +
                      std::to_string(r.clientHeight) + ", count " + std::to_string(r.count) +
                      ", reported " + RectText(r.reported) + ", region " + RegionText(r.region);
    if (!r.colour.empty()) out += ", colour " + r.colour;
    return out;
}

}  // namespace

std::vector<std::string> CompareExact(const std::vector<PaintRow>& a,
                                      const std::vector<PaintRow>& b, const std::string& nameA,
                                      const std::string& nameB) {
    std::vector<std::string> out;
    const size_t n = std::max(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const std::string row = "row " + std::to_string(i + 1) + ": ";
        if (i >= a.size()) {
            out.push_back(row + "only in " + nameB + ": " + Describe(b[i]));
        } else if (i >= b.size()) {
            out.push_back(row + "only in " + nameA + ": " + Describe(a[i]));
        } else if (!SameButColour(a[i], b[i])) {
            out.push_back(row + nameA + ": " + Describe(a[i]));
            out.push_back(std::string(row.size(), ' ') + nameB + ": " + Describe(b[i]));
        }
    }
    return out;
}

namespace {

std::string Size(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// "name x / y; ..." for the fields that differ.
struct FieldDiff {
    std::string text;
    void operator()(const std::string& name, const std::string& x, const std::string& y) {
        if (x != y) text += (text.empty() ? "" : "; ") + name + " " + x + " / " + y;
    }
};

// The change a step makes, whichever way it was made: a drag of an edge and
// the same resize from outside, a caption button and the same state change
// from outside are one step (where a window manager frames the window, only
// the second way reaches it).
std::string ChangeOf(std::string action) {
    auto strip = [&](const std::string& end) {
        if (action.size() > end.size() &&
            action.compare(action.size() - end.size(), end.size(), end) == 0)
            action.resize(action.size() - end.size());
    };
    strip(" from outside");
    strip(" button");
    if (action.compare(0, 7, "resize ") == 0) action.replace(0, 6, "drag");
    return action;
}

void CompareAligned(AlignedPaint& p, const PaintRow* a, const PaintRow* b) {
    if (!a || !b) {
        const PaintRow& r = a ? *a : *b;
        p.paint = std::string(a ? "only in A" : "only in B") + ": reported " +
                  RegionText({r.reported}) + ", region " + RegionText(r.region);
        return;
    }
    FieldDiff paint, frame;
    if (ChangeOf(a->action) != ChangeOf(b->action)) paint("action", a->action, b->action);
    if (a->viewWidth && b->viewWidth)
        paint("list view", Size(a->viewWidth, a->viewHeight), Size(b->viewWidth, b->viewHeight));
    paint("reported", RegionText({a->reported}), RegionText({b->reported}));
    paint("region", RegionText(a->region), RegionText(b->region));
    frame("outer", Size(a->outerWidth, a->outerHeight), Size(b->outerWidth, b->outerHeight));
    frame("client", Size(a->clientWidth, a->clientHeight), Size(b->clientWidth, b->clientHeight));
    p.paint = paint.text;
    p.frame = frame.text;
    // Differences of any two sizes a file may hold, in a type that has room.
    const std::pair<const char*, int64_t> moves[] = {
        {"outer width", int64_t{b->outerWidth} - a->outerWidth},
        {"outer height", int64_t{b->outerHeight} - a->outerHeight},
        {"client width", int64_t{b->clientWidth} - a->clientWidth},
        {"client height", int64_t{b->clientHeight} - a->clientHeight}};
    for (const auto& [name, by] : moves)
        if (by) p.moves.push_back(std::string(name) + (by > 0 ? " +" : " ") + std::to_string(by));
}

}  // namespace

namespace {

// The systems' paints aligned: step by step, and within a step in the order
// each system painted them; each system's row, -1 where it has none.
std::vector<MatrixPaint> AlignPaints(const std::vector<const std::vector<PaintRow>*>& systems) {
    const size_t n = systems.size();
    std::vector<std::vector<std::pair<int, int>>> order(n);  // step, row; by step, then row
    for (size_t k = 0; k < n; ++k) {
        for (size_t i = 0; i < systems[k]->size(); ++i)
            order[k].push_back({(*systems[k])[i].step, static_cast<int>(i)});
        std::sort(order[k].begin(), order[k].end());
    }
    std::vector<MatrixPaint> paints;
    std::vector<size_t> at(n, 0);
    for (;;) {
        bool any = false;
        int step = 0;
        for (size_t k = 0; k < n; ++k)
            if (at[k] < order[k].size() && (!any || order[k][at[k]].first < step))
                step = order[k][at[k]].first, any = true;
        if (!any) break;
        for (int place = 1;; ++place) {
            MatrixPaint p;
            p.step = step;
            p.place = place;
            bool present = false;
            for (size_t k = 0; k < n; ++k) {
                const bool has = at[k] < order[k].size() && order[k][at[k]].first == step;
                p.rows.push_back(has ? order[k][at[k]++].second : -1);
                if (has && !present) p.action = (*systems[k])[p.rows.back()].action;
                present = present || has;
            }
            if (!present) break;
            paints.push_back(std::move(p));
        }
    }
    return paints;
}

}  // namespace

Comparison CompareSystems(const std::vector<PaintRow>& a, const std::vector<PaintRow>& b) {
    Comparison c;
    for (const MatrixPaint& m : AlignPaints({&a, &b})) {
        AlignedPaint p;
        p.step = m.step;
        p.place = m.place;
        p.a = m.rows[0];
        p.b = m.rows[1];
        p.action = m.action;
        CompareAligned(p, p.a >= 0 ? &a[p.a] : nullptr, p.b >= 0 ? &b[p.b] : nullptr);
        c.paints.push_back(std::move(p));
    }
    return c;
}

Matrix CompareMany(const std::vector<std::vector<PaintRow>>& systems,
                   const std::vector<std::string>& names) {
    Matrix m;
    m.names = names;
    std::vector<const std::vector<PaintRow>*> all;
    for (const std::vector<PaintRow>& rows : systems) all.push_back(&rows);
    m.paints = AlignPaints(all);
    // Each system joins the first group whose first member paints alike.
    for (MatrixPaint& p : m.paints) {
        std::vector<size_t> firsts;
        for (size_t k = 0; k < systems.size(); ++k) {
            const PaintRow* row = p.rows[k] >= 0 ? &systems[k][p.rows[k]] : nullptr;
            size_t g = 0;
            for (; g < firsts.size(); ++g) {
                const size_t f = firsts[g];
                const PaintRow* first = p.rows[f] >= 0 ? &systems[f][p.rows[f]] : nullptr;
                AlignedPaint same;
                if (!row || !first ? row == first
                                   : (CompareAligned(same, first, row), same.paint.empty()))
                    break;
            }
            if (g == firsts.size()) firsts.push_back(k);
            p.group.push_back(static_cast<int>(g));
        }
    }
    return m;
}

bool MatrixPaint::Alike() const {
    return std::all_of(group.begin(), group.end(), [](int g) { return g == 0; });
}

bool Matrix::Agree() const {
    return std::all_of(paints.begin(), paints.end(),
                       [](const MatrixPaint& p) { return p.Alike(); });
}

std::string Matrix::Summary() const {
    const size_t alike = static_cast<size_t>(std::count_if(
        paints.begin(), paints.end(), [](const MatrixPaint& p) { return p.Alike(); }));
    return "paints: " + std::to_string(alike) + " of " + std::to_string(paints.size()) +
           " alike on all " + std::to_string(names.size()) + " systems";
}

namespace {
std::string Where(const MatrixPaint& p) {
    return "step " + std::to_string(p.step) + " " + p.action + ", paint " + std::to_string(p.place);
}
}  // namespace

std::vector<std::string> Matrix::AgainstFirst() const {
    std::vector<std::string> out;
    for (size_t k = 1; k < names.size(); ++k) {
        int alike = 0;
        const MatrixPaint* first = nullptr;
        for (const MatrixPaint& p : paints) {
            alike += p.group[k] == 0;
            if (p.group[k] != 0 && !first) first = &p;
        }
        out.push_back(names[k] + ": " + std::to_string(alike) + " of " +
                      std::to_string(paints.size()) + " paints as " + names[0] + " paints them" +
                      (first ? ", the first that differs at " + Where(*first) : ""));
    }
    return out;
}

std::string Matrix::GroupText(const MatrixPaint& p) const {
    std::string together, alone;
    for (size_t g = 0; g < names.size(); ++g) {
        std::string members;
        int count = 0;
        for (size_t k = 0; k < names.size(); ++k)
            if (p.group[k] == static_cast<int>(g))
                members += (count++ ? " = " : "") + names[k] + (p.rows[k] < 0 ? " (none)" : "");
        if (count > 1) together += (together.empty() ? "" : ", ") + members;
        if (count == 1) alone += (alone.empty() ? "" : ", ") + members + " differs";
    }
    return Where(p) + ": " +
           (together.empty() ? "all differ" : together + (alone.empty() ? "" : ", " + alone));
}

std::vector<std::string> Matrix::Groups() const {
    std::vector<std::string> out;
    for (const MatrixPaint& p : paints)
        if (!p.Alike()) out.push_back(GroupText(p));
    return out;
}

std::vector<std::string> Matrix::Changes() const {
    std::vector<std::string> out;
    for (const MatrixPaint& p : paints)
        for (size_t k = 1; k < names.size(); ++k)
            if (p.group[k] != p.group[k - 1])
                out.push_back(Where(p) + ": changed between " + names[k - 1] + " and " + names[k]);
    return out;
}

std::vector<std::string> Matrix::ChangesBySystem() const {
    std::vector<std::string> out;
    for (size_t k = 1; k < names.size(); ++k) {
        int changed = 0;
        const MatrixPaint* first = nullptr;
        for (const MatrixPaint& p : paints)
            if (p.group[k] != p.group[k - 1] && ++changed == 1) first = &p;
        if (changed)
            out.push_back("between " + names[k - 1] + " and " + names[k] + ": " +
                          std::to_string(changed) + (changed == 1 ? " paint" : " paints") +
                          " changed, the first at " + Where(*first));
    }
    return out;
}

bool Comparison::PaintsAgree() const {
    for (const AlignedPaint& p : paints)
        if (!p.paint.empty()) return false;
    return true;
}

std::string Comparison::PaintSummary() const {
    int alike = 0, differ = 0, onlyA = 0, onlyB = 0;
    for (const AlignedPaint& p : paints) {
        alike += p.paint.empty();
        differ += !p.paint.empty() && p.a >= 0 && p.b >= 0;
        onlyA += p.b < 0;
        onlyB += p.a < 0;
    }
    std::string out =
        "paints: " + std::to_string(alike) + " of " + std::to_string(paints.size()) + " alike";
    if (differ) out += "; " + std::to_string(differ) + (differ == 1 ? " differs" : " differ");
    if (onlyA) out += "; " + std::to_string(onlyA) + " only in A";
    if (onlyB) out += "; " + std::to_string(onlyB) + " only in B";
    return out;
}

std::string Comparison::FrameSummary() const {
    // Each kind of change, with the number of paints it was seen at, in the
    // order first seen.
    std::vector<std::pair<std::string, int>> kinds;
    std::vector<std::pair<std::string, size_t>> where;  // sorted: each kind's place in kinds
    int at = 0;
    for (const AlignedPaint& p : paints) {
        at += !p.frame.empty();
        for (const std::string& move : p.moves) {
            auto found =
                std::lower_bound(where.begin(), where.end(), std::make_pair(move, size_t{0}));
            if (found == where.end() || found->first != move) {
                found = where.insert(found, {move, kinds.size()});
                kinds.push_back({move, 0});
            }
            ++kinds[found->second].second;
        }
    }
    if (!at) return "frames: alike at every paint";
    std::string out =
        "frames differ at " + std::to_string(at) + (at == 1 ? " paint: " : " paints: ");
    for (size_t i = 0; i < kinds.size(); ++i)
        out += (i ? ", " : "") + kinds[i].first + " at " + std::to_string(kinds[i].second);
    return out;
}

std::vector<std::string> Comparison::Listing() const {
    std::vector<std::string> out;
    for (const AlignedPaint& p : paints) {
        if (p.paint.empty()) continue;
        out.push_back("step " + std::to_string(p.step) + " " + p.action + ", paint " +
                      std::to_string(p.place) + ": " + p.paint +
                      (p.frame.empty() ? "" : "; frame differs too: " + p.frame));
    }
    return out;
}

}  // namespace transcript
