// The runtime's random numbers: a uniform single in [0, 1) and a reseed that
// mixes the clock into the generator's current state, so that two reseeds
// within one clock reading still lead to different sequences.
#pragma once

namespace rt {

void Randomize();
float Rnd();

}  // namespace rt
