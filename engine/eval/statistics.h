#pragma once
// Running mean and standard deviation of differences.

#include <cmath>
#include <cstddef>

namespace ecg::engine::eval {

class Differences {
 public:
  void Add(double d) {
    ++n_;
    sum_ += d;
    sum_sq_ += d * d;
    sum_abs_ += std::fabs(d);
  }
  size_t count() const { return n_; }
  double mean() const { return n_ ? sum_ / static_cast<double>(n_) : 0.0; }
  double mean_abs() const { return n_ ? sum_abs_ / static_cast<double>(n_) : 0.0; }
  // Sample standard deviation.
  double sd() const {
    if (n_ < 2) return 0.0;
    const double m = mean();
    const double var = (sum_sq_ - static_cast<double>(n_) * m * m) / static_cast<double>(n_ - 1);
    return var > 0 ? std::sqrt(var) : 0.0;
  }

 private:
  size_t n_ = 0;
  double sum_ = 0, sum_sq_ = 0, sum_abs_ = 0;
};

}  // namespace ecg::engine::eval
