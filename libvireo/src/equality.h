#ifndef KIT_EQUALITY_H
#define KIT_EQUALITY_H

namespace kit {

// Base for value classes whose equality is defined by one virtual comparison.
template <typename T>
class Equality
{
public:
    virtual ~Equality() = default;

    virtual bool isEqual(const T &other) const = 0;

    friend bool operator==(const T &a, const T &b) { return a.isEqual(b); }
    friend bool operator!=(const T &a, const T &b) { return !a.isEqual(b); }
};

} // namespace kit

#endif
