#pragma once
// Printing the results report page by page, and the interim printout of the shown block. The
// print-setup dialog is the caller's, before either is called.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/settings/FilePaths.h"
#include "core/quotes/Clock.h"
#include "core/report/Printer.h"

// Prints Results.txt in Courier New 10, every line after a ten-space margin, a new page at each
// form-feed line (a line that begins with a form feed is never printed). Each page begins with an
// empty line, "Printed <date> <time>    Quillon results    Page n of m" and an empty line; m is the
// saved count of the progress record, which replaces savedCount (a record whose first field cannot
// be read leaves savedCount as it was). A page is begun only when a line follows, so a closing
// form feed makes no empty page. Lines end at CR LF, a lone CR or a lone LF. A line longer than
// MaxPrintedLineLength (report lines are about 80 columns) is printed cut there, followed by the
// line "[line cut: <length> characters]" after the margin; the file is read in bounded pieces. Returns false, having
// printed nothing, when the progress record or Results.txt cannot be opened or read (a directory
// in its place); otherwise the document is ended (EndDoc) and true returned.
[[nodiscard]] bool PrintResults(const FilePaths& paths, std::int16_t& savedCount, Printer& printer,
                                const Clock& clock);

// The pages PrintResults would print; nothing when Results.txt cannot be read. Read as cheaply as
// the printout itself, to ask before a damaged report fills a printer (ManyPages).
std::optional<long> CountResultsPages(const FilePaths& paths);

inline constexpr std::size_t MaxPrintedLineLength = 300;
inline constexpr long ManyPages = 1000;

// Prints the block shown in the run window: an empty line, "Printed <date> <time>     Quillon
// interim printout", an empty line, then each line of `text` after a ten-space margin, and ends
// the document. A line ends at any character below code 32, together with one more such character
// right after it (CR LF); text after the last line end is printed as a line of its own.
void PrintInterimBlock(std::string_view text, Printer& printer, const Clock& clock);
