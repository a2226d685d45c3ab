#pragma once
// The reports that show resolved distances one at a time: the path line, the
// classic and the statistical block, the probability tables, the closing
// dimension with statistics, the dimension-chain listing and the zero distances.
// The write* functions write to an open channel; the report* commands ask what
// they need, open the channel, write and close it.

#include <string>
#include <vector>

#include "core/text/number_format.h"

namespace zam1 {

class Chain;
struct ClosingSolution;
struct ClosingSums;
class MessageList;
class OutputChannel;
struct ReportTexts;

// Lengths print with the chain's decimals, other numbers with the configured ones.
NumberFormat lengthFormat(const Chain& chain, const OutputChannel& out);

// The lines of the closing-dimension choice: "from => to  text  remark" for each
// closing dimension, then the "back" line.
std::vector<std::string> closingChoiceLines(const Chain& chain, const ReportTexts& texts);

// Lets the user choose a closing dimension (`current` pre-selected) and solves
// it into `solution`. Returns its number, or 0 when cancelled or unusable (error
// flag set). A structure error is shown and the choice stands: the report then
// says why there are no numbers.
int selectClosingDimension(Chain& chain, OutputChannel& out, int current, ClosingSolution& solution);

void writePathLine(OutputChannel& out, const ClosingSolution& solution);
// Closing dimension k gives the text and remark lines; k = 0 leaves them blank.
void writeClassicBlock(OutputChannel& out, const Chain& chain, const ClosingSolution& solution, int k);
void writeStatisticalBlock(OutputChannel& out, const Chain& chain, const ClosingSolution& solution, int k);
void writeProbabilityTables(OutputChannel& out, Chain& chain, const ClosingSums& sums);
// In place of the blocks of a distance that could not be resolved: its ends and why.
void writeStructureFault(OutputChannel& out, const ClosingSolution& solution);

// Closing dimension k, already solved.
void writeClosingStatistics(OutputChannel& out, Chain& chain, int k, const ClosingSolution& solution);
// Closing dimension k; calculates what it shows.
void writeChainListing(OutputChannel& out, Chain& chain, int k);
void writeZeroDistances(OutputChannel& out, Chain& chain);

// The menu commands. `choice` is the closing dimension chosen last time; it is
// updated. False when nothing was written.
bool reportClosingStatistics(Chain& chain, OutputChannel& out, int& choice);
bool reportChainListing(Chain& chain, OutputChannel& out, int& choice);
bool reportZeroDistances(Chain& chain, OutputChannel& out);
// The collected messages with cause and remedy on the screen device, or the note
// that the calculation went without any.
bool reportMessages(const MessageList& messages, OutputChannel& out);

} // namespace zam1
