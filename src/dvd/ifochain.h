#pragma once

#include "dvd/ifobytes.h"
#include "dvd/ifotypes.h"

// Reads the program chain that starts at `position`: its counts, playing time, stream
// availability, program map and the chapter times summed from its cells. Throws EIFOError.
TProgramChain ReadProgramChain(const IfoByteView& bytes, quint64 position, const TVTS_VOBS& vobs);

// The chain's own fields; its tables follow them.
inline constexpr quint64 ProgramChainFixedSize = 0xEC;
