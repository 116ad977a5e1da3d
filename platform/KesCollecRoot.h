// Root class of the collections library's list classes.
#pragma once

class KesCollecRoot {
public:
    KesCollecRoot() = default;
    KesCollecRoot(const KesCollecRoot&) = default;
    KesCollecRoot& operator=(const KesCollecRoot&) = default;
    virtual ~KesCollecRoot() = default;
};
