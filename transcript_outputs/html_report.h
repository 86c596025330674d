// A transcript, or two side by side, as one self-contained HTML page: inline
// SVG and CSS, no script, nothing loaded from elsewhere. No window system.
#pragma once

#include <string>
#include <vector>

#include "message_compare.h"
#include "message_log.h"
#include "paint_compare.h"
#include "recording.h"
#include "transcript_rows.h"

namespace transcript {

// One frame per paint, drawn to scale: the list view's client area as an
// outline, what earlier paints covered faintly, this paint's update region
// filled with the colour it was painted, and the reported rectangle outlined.
// A recording cut short says why at the top. The page grows linearly with
// the paints: what earlier paints covered is drawn as its outline so far.
// With a message log, each frame carries the messages that led to its paint
// and those of its handling, folded a click away.
// What the recording knows of its system stands under the title.
std::string HtmlReport(const std::vector<PaintRow>& rows, const std::string& title,
                       const std::string& cutShort = "",
                       const std::vector<MessageRow>* messages = nullptr,
                       const SystemFacts* facts = nullptr);

// Two recordings side by side, aligned step by step as `c` aligns them
// (CompareSystems), labelled with their names: paints that differ marked
// strongly, paints whose window frame alone differs lightly, and the two
// summary lines at the top. With `m`, their messages compared
// (CompareMessages), the messages of each frame too, those not alike
// marked, and a step's first differing message beside its first paint. A
// note, where given, stands at the top with the systems' differences.
std::string HtmlComparison(const Recording& a, const Recording& b, const Comparison& c,
                           const MessageComparison* m = nullptr, const std::string& note = "");

// Many recordings side by side, aligned as `m` aligns them (CompareMany): a
// column a system, a row a paint that is not alike everywhere, with its
// groups beside it and the frames that differ from the first system's
// outlined; the rows alike everywhere folded into a count. With a system's
// message log, each of its frames carries its messages. A note, as for
// HtmlComparison.
std::string HtmlMatrix(const Matrix& m, const std::vector<Recording>& systems,
                       const std::string& note = "");

}  // namespace transcript
