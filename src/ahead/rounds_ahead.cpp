#include "ahead/rounds_ahead.h"

#include "random/indexed_round.h"

#if COMBOGEN_THREADS
#include <atomic>
#include <system_error>
#include <thread>
#endif

namespace combogen {

#if COMBOGEN_THREADS

namespace {

// Rounds are handed over a slot at a time, so that the two threads meet once per 32 rounds, not
// once per round. 2 MiB in all, room for about 1.3 ms of rounds, so that a reader woken late, on
// a busy machine, seldom holds the thread up.
constexpr int RoundsPerSlot = 32;
constexpr uint32_t SlotCount = 64;
// The reader draws lines faster than the rounds come, so it waits for nearly every slot. Once
// asleep it is woken when eight slots are ready, not for each slot: one wake-up per 256 rounds.
constexpr uint32_t WakeReaderAt = 8;

// Waits until counter differs from seen. Spins a little first, for the other thread may be about
// to move on; on a busy machine spinning long would only take the processor from the thread it
// waits for. `sleeping` asks the other side to wake this one.
void WaitWhile(std::atomic<uint32_t>& counter, uint32_t seen, std::atomic<bool>& sleeping) {
    for (int spin = 0; spin < 64; ++spin) {
        if (counter.load(std::memory_order_acquire) != seen) return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    sleeping.store(true);
    while (counter.load() == seen) counter.wait(seen);
    sleeping.store(false);
}

}  // namespace

struct RoundsAhead::Ring {
    RandomGenerator generator;
    EntryIndexes indexes{};
    int64_t rounds = 0;  // to compute in all
    alignas(64) uint32_t slots[SlotCount][RoundsPerSlot][256];
    alignas(64) std::atomic<uint32_t> filled{0};  // slots completed by the thread
    std::atomic<bool> writerSleeping{false};
    alignas(64) std::atomic<uint32_t> emptied{0};  // slots the reader is done with
    std::atomic<bool> readerSleeping{false};
    std::atomic<bool> stop{false};
    // The reader's place: its slot, and the round within it.
    uint32_t readSlot = 0;
    int readRound = RoundsPerSlot;
    int64_t taken = 0;
    std::thread thread;

    void Compute() {
        for (int64_t done = 0; done < rounds;) {
            const uint32_t slot = filled.load(std::memory_order_relaxed);
            while (slot - emptied.load(std::memory_order_acquire) == SlotCount) {
                if (stop.load()) return;
                WaitWhile(emptied, slot - SlotCount, writerSleeping);
            }
            if (stop.load()) return;
            for (int r = 0; r < RoundsPerSlot && done < rounds; ++r, ++done) {
                uint32_t* out = slots[slot % SlotCount][r];
                GenerateIndexedRound(generator, indexes,
                                     [&out](uint32_t output) { *out++ = output; });
            }
            filled.fetch_add(1);
            if (readerSleeping.load() &&
                (slot + 1 - emptied.load() >= WakeReaderAt || done == rounds)) {
                filled.notify_one();
            }
        }
    }
};

RoundsAhead::RoundsAhead() = default;

RoundsAhead::~RoundsAhead() {
    if (!ring_ || !ring_->thread.joinable()) return;
    ring_->stop.store(true);
    // Wakes the thread if it waits for room.
    ring_->emptied.fetch_add(SlotCount);
    ring_->emptied.notify_one();
    ring_->thread.join();
}

bool RoundsAhead::Available() { return true; }

bool RoundsAhead::Start(const RandomGenerator& g, int64_t rounds) {
    ring_.reset(new Ring);  // the slots left unfilled: the rounds fill them
    ring_->generator = g;
    ring_->indexes = IndexesOf(g);
    ring_->rounds = rounds;
    try {
        ring_->thread = std::thread([ring = ring_.get()] { ring->Compute(); });
    } catch (const std::system_error&) {
        ring_.reset();
        return false;
    }
    return true;
}

const uint32_t* RoundsAhead::Next() {
    Ring& ring = *ring_;
    if (ring.readRound == RoundsPerSlot) {
        if (ring.taken > 0) {
            ring.emptied.fetch_add(1);
            if (ring.writerSleeping.load()) ring.emptied.notify_one();
            ++ring.readSlot;
        }
        WaitWhile(ring.filled, ring.readSlot, ring.readerSleeping);
        ring.readRound = 0;
    }
    ++ring.taken;
    return ring.slots[ring.readSlot % SlotCount][ring.readRound++];
}

void RoundsAhead::Finish(RandomGenerator& g) {
    ring_->thread.join();
    // The thread's copy was taken at the start and its rounds, as rounds handed straight to use,
    // leave randrsl alone: the whole record is the one the rounds run here would leave.
    g = ring_->generator;
    ring_.reset();
}

#else

// Without threads (the web page's worker): never started.
struct RoundsAhead::Ring {};
RoundsAhead::RoundsAhead() = default;
RoundsAhead::~RoundsAhead() = default;
bool RoundsAhead::Available() { return false; }
bool RoundsAhead::Start(const RandomGenerator&, int64_t) { return false; }
const uint32_t* RoundsAhead::Next() { return nullptr; }
void RoundsAhead::Finish(RandomGenerator&) {}

#endif

}  // namespace combogen
