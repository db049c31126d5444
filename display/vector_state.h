// Clears the upper halves of the processor's AVX vector registers.
//
// Some of the toolkit's painting and event code leaves them in use when it returns. The drying
// model is compiled for plain SSE2, and on many x86 processors every SSE instruction that runs
// while those upper halves are in use pays a penalty: measured here, the model ran about half
// as fast again after the window had processed its events. Clearing them after each round of
// event processing and drawing restores the model's own speed. A new thread starts with a copy
// of its creator's registers, so a thread started by the window's thread must clear them too
// before it computes: the study workers ran five times slower without. Does nothing where there
// is no AVX.
#pragma once

namespace tesmo {

void clearUpperVectorState();

}  // namespace tesmo
