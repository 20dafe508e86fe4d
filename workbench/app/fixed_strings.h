#pragma once
// A short most-recently-used list with a fixed capacity: the recent folders and files.

#include <QString>
#include <QStringList>

namespace morva::app {

class TFixedStrings {
  public:
    explicit TFixedStrings(int capacity) : capacity_(capacity) {}

    /// Appends `text` as the newest entry. A full list first drops its oldest entry, then an
    /// entry equal to `text` ignoring case is removed, so a full list that already holds the
    /// text ends one entry short of its capacity.
    void Add(const QString& text);
    /// Removes the entry equal to `text` ignoring case, if there is one.
    void Remove(const QString& text);

    int Count() const { return static_cast<int>(items_.size()); }
    int Capacity() const { return capacity_; }
    /// Entry `index`, 0 being the oldest.
    const QString& operator[](int index) const { return items_[index]; }
    void Clear() { items_.clear(); }

  private:
    int capacity_;
    QStringList items_;
};

}  // namespace morva::app
