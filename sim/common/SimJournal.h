// Journals of the simulated machine: text files in the sim folder that a
// test reads while the program runs. Each line is appended as one write to
// a file opened for appending and closed again, so it is on disk when the
// call returns and lines of concurrent writers never mix.
#pragma once

#include <string>

namespace sim {

// Appends text and a CRLF to the journal in the sim folder. With the
// environment variable TARVENHOLM_SIM_JOURNAL_TIMES=1 the text is followed by
// " @" and the time in milliseconds since 1970 (for latency measurements);
// without it lines are exactly the text.
void AppendJournalLine(const wchar_t* fileName, const std::string& text);

// Upper-case hexadecimal pairs separated by spaces.
std::string HexBytes(const unsigned char* data, size_t length);

}  // namespace sim
