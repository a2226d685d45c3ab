#pragma once
// The reports that show resolved distances one at a time: the path line, the
// classic and the statistical block, the probability tables, the closing
// dimension with statistics, the dimension-chain listing and the zero distances.
// The write* functions write to an open channel; the report* commands ask what
// they need, open the channel, write and close it.

#include "core/text/number_format.h"

namespace zam1 {

class Chain;
class MessageList;
class OutputChannel;

// Lengths print with the chain's decimals, other numbers with the configured ones.
NumberFormat lengthFormat(const Chain& chain, const OutputChannel& out);

// The first element both ends of the last resolved distance share.
int sharedElement(const Chain& chain);

// Lets the user choose a closing dimension (`current` pre-selected) and resolves
// it. Returns its number, or 0 when cancelled or unusable (error flag set).
int selectClosingDimension(Chain& chain, OutputChannel& out, int current);

void writePathLine(OutputChannel& out, const Chain& chain);
// Closing dimension k gives the text and remark lines; k = 0 leaves them blank.
void writeClassicBlock(OutputChannel& out, const Chain& chain, int k, int fromElement, int toElement);
void writeStatisticalBlock(OutputChannel& out, const Chain& chain, int k, int fromElement, int toElement);
void writeProbabilityTables(OutputChannel& out, Chain& chain);

// Closing dimension k, already resolved.
void writeClosingStatistics(OutputChannel& out, Chain& chain, int k);
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
