#pragma once

#include <vector>

// Order statistics of a set of measurements.
class Summary {
public:
    explicit Summary(std::vector<double> values);

    // The value below which the given fraction of the measurements lie, interpolated.
    double quantile(double fraction) const;
    double median() const { return quantile(0.5); }
    double min() const { return sorted_.front(); }
    double max() const { return sorted_.back(); }

private:
    std::vector<double> sorted_;
};
