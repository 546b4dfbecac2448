#pragma once

namespace plexo {

// The element of every transform buffer: real part first, then imaginary (16 bytes).
struct Complex {
  double re = 0.0;
  double im = 0.0;
};

}  // namespace plexo
