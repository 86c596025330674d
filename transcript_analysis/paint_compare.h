// Paint rows compared: a replay against its reference, two systems aligned
// paint by paint, many systems grouped by how they paint.
#pragma once

#include <string>
#include <vector>

#include "transcript_rows.h"

namespace transcript {

// Where a replay differs from its reference on the same system, row by row,
// on every field but the colour (random); empty when they agree. Each side
// is called by its name ("reference", "this run").
std::vector<std::string> CompareExact(const std::vector<PaintRow>& reference,
                                      const std::vector<PaintRow>& replay,
                                      const std::string& nameA = "A",
                                      const std::string& nameB = "B");

// One paint of two systems' transcripts, aligned by step: the k-th paint of a
// step in one against the k-th paint of the same step in the other.
struct AlignedPaint {
    int step = 0;
    std::string action;
    int place = 0;                   // the paint's place in its step, from 1
    int a = -1, b = -1;              // its row in each transcript; -1 where that one has none
    std::string paint;               // what differs in the paint itself; empty when alike
    std::string frame;               // what differs in Form1's outer or client size
    std::vector<std::string> moves;  // the frame's changes from A to B ("outer height +7")
};

// Two systems compared. A paint differs when its update region, its reported
// rectangle or the list view's client size differ (or one system has a paint
// the other has not); the frame (Form1's outer and client size) differs on
// its own account. Counts and colours are not compared: an extra paint shifts
// every later count, and colours are random. A step's action is compared as
// the change it makes: "drag bottom +10" and "resize bottom +10 from outside"
// are one step made two ways, as "maximize button" and "maximize from outside".
struct Comparison {
    std::vector<AlignedPaint> paints;
    bool PaintsAgree() const;
    std::string PaintSummary() const;  // "paints: 48 of 49 alike; 1 differs"
    std::string FrameSummary() const;  // "frames differ at 49 paints: outer height +7 at 48"
    std::vector<std::string> Listing() const;  // a line per paint that differs
};
Comparison CompareSystems(const std::vector<PaintRow>& a, const std::vector<PaintRow>& b);

// One paint of many systems' transcripts, aligned by step as two are: each
// system's row (-1 where it has none), and which systems paint it alike, as
// groups numbered in the order the systems are given.
struct MatrixPaint {
    int step = 0;
    std::string action;
    int place = 0;
    std::vector<int> rows;
    std::vector<int> group;
    bool Alike() const;
};

// Many systems compared, the first the reference, in the order given (a
// series of releases, say). Time and size linear in paints x systems, but
// for the groups, which are at most as many as the systems.
struct Matrix {
    std::vector<std::string> names;
    std::vector<MatrixPaint> paints;
    bool Agree() const;
    std::string Summary() const;  // "paints: 0 of 49 alike on all 4 systems"
    // A line a system: "Wine 5.0: 0 of 49 paints as Wine 8.0 paints them,
    // the first that differs at step 1 drag bottom +10".
    std::vector<std::string> AgainstFirst() const;
    // A line a paint not alike everywhere: "step 1 drag bottom +10, paint 1:
    // Wine 8.0 = Wine 10.0, Wine 5.0 differs".
    std::vector<std::string> Groups() const;
    std::string GroupText(const MatrixPaint& p) const;
    // Where a paint changes from one system to the next in the order given:
    // "step 52 maximize button, paint 1: changed between Wine 8.0 and Wine 10.0".
    std::vector<std::string> Changes() const;
    // The same, a line for each two systems next to each other: "between
    // Wine 8.0 and Wine 10.0: 1 paint changed, the first at step 52 ...".
    std::vector<std::string> ChangesBySystem() const;
};
Matrix CompareMany(const std::vector<std::vector<PaintRow>>& systems,
                   const std::vector<std::string>& names);

}  // namespace transcript
