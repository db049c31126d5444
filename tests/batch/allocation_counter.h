// Counts the heap allocations of the test program (operator new is replaced in
// allocation_counter.cpp), so that tests can assert that a stretch of code allocates nothing.
#pragma once

namespace tesmo::test {

long allocationCount();

}  // namespace tesmo::test
