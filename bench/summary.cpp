#include "summary.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

Summary::Summary(std::vector<double> values) : sorted_(std::move(values))
{
    if (sorted_.empty())
        throw std::invalid_argument("no measurements");
    std::sort(sorted_.begin(), sorted_.end());
}

double Summary::quantile(double fraction) const
{
    const double position = fraction * static_cast<double>(sorted_.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const auto above = std::min(below + 1, sorted_.size() - 1);
    return sorted_[below] + (position - static_cast<double>(below)) * (sorted_[above] - sorted_[below]);
}
