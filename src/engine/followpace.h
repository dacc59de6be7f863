#pragma once

#include <cstddef>
#include <deque>
#include <utility>

namespace velloran::engine {

// What one tick of following knows. Positions are scroll positions in twips (they fall as the
// script advances); the target puts the spoken word at the reading height.
struct FollowTick {
    double position = 0;
    double target = 0;
    double intervalMs = 100;
    double readerPace = 0;  // twips a second the target moves at while the reader speaks; 0 when still
    double lineHeight = 600;
};

// Carried from tick to tick; a default one is at rest (start, and after the user moves the script).
struct FollowMotion {
    double speed = 0;      // twips a second, positive while the script advances
    double stiffness = 0;  // of the glide under way; 0 while simply keeping up with the reader
};

// The step of this tick, in twips the position falls by (negative: the script goes back). The
// script moves as a critically damped spring towards the target carried along at the reader's
// pace: softly while it keeps up, so the motion stays even, and stiffly enough to glide within
// half a second to a place more than two lines off; it never overshoots from rest.
double followStep(const FollowTick& tick, FollowMotion& motion);
// As followStep, but while simply keeping up the script never goes back: when the reader stops
// with the script a little past the word (the reader's pace carried it on), it comes to rest
// there. Only a glide, to a place more than two lines off, goes back.
double followStepForward(const FollowTick& tick, FollowMotion& motion);

// The reader's pace in words a second, from the places reached over the last few seconds.
class ReadingRate {
public:
    void reset() { m_samples.clear(); }
    // The reader reached this word at this time (seconds on any steady clock).
    void note(double time, std::size_t word);
    // 0 once nothing has moved on for a while, or before there is enough to tell.
    double wordsPerSecond(double now) const;

private:
    std::deque<std::pair<double, std::size_t>> m_samples;
};

}  // namespace velloran::engine
