#pragma once
// What a user may type into a float or integer cell: an optional sign (a
// minus only where the minimum is below zero), digits, and for a float cell
// one point with at most the cell's decimal places. The entry is acceptable
// when it is empty (the cell is cleared) or a number within the cell's
// minimum and maximum; anything on the way there is intermediate, so the
// editor stays open until the entry is one the grid takes.

#include <QValidator>

namespace rillo {

class GridNumberValidator : public QValidator {
    Q_OBJECT
public:
    /// A float cell with `decimals` places.
    GridNumberValidator(double min, double max, int decimals, QObject* parent = nullptr);
    /// An integer cell.
    GridNumberValidator(long long min, long long max, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

private:
    bool integer_;
    double min_, max_;
    int decimals_;
};

}  // namespace rillo
