// Generator rounds computed ahead on a second thread, into a small ring, while the caller turns
// the rounds before them into lines. Each round waits on the one before it step by step, and the
// line work after it need not: on two processors the two overlap.
#pragma once

#include <cstdint>
#include <memory>

#include "random/generator.h"

namespace combogen {

class RoundsAhead {
public:
    RoundsAhead();
    ~RoundsAhead();  // stops the thread, if one runs, and waits for it
    RoundsAhead(const RoundsAhead&) = delete;
    RoundsAhead& operator=(const RoundsAhead&) = delete;

    // True where this build can run a second thread.
    static bool Available();

    // Starts computing the next `rounds` rounds of g (as many GenerateRound calls would) on a
    // second thread. False, with nothing started, where there are no threads or the system
    // refuses one.
    bool Start(const RandomGenerator& g, int64_t rounds);

    // True from a Start that succeeded until Finish.
    bool Started() const { return ring_ != nullptr; }

    // The next round's 256 outputs, in order; valid until the next call. At most `rounds` calls.
    const uint32_t* Next();

    // Waits for the thread; g becomes the record as the rounds leave it: mm, aa, bb and cc after
    // the last round, randcnt 256 and lastOutput its last output, randrsl as it was.
    void Finish(RandomGenerator& g);

private:
    struct Ring;
    std::unique_ptr<Ring> ring_;
};

}  // namespace combogen
