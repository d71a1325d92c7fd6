#pragma once

#include "convert/conversionjob.h"

class TTaskTree;

// The checked titles and chapters in tree order, as the run converts them: a chapter brings
// its title's number, audio languages and aspect, with its own choices and span.
QList<ConversionItem> ConversionItemsOf(const TTaskTree& tree);
