#include "tests/support/ShredderFlags.h"

namespace bw::test {

namespace {

// An explicit instantiation may name private members; the friend function hands the
// member pointer out.
template <typename Tag, typename Tag::type Member>
struct Expose {
    friend typename Tag::type member(Tag) { return Member; }
};
struct Shredding {
    using type = ShredderFlag;
    friend type member(Shredding);
};
struct PartialShredding {
    using type = ShredderFlag;
    friend type member(PartialShredding);
};

} // namespace

template struct Expose<Shredding, &Shredder::shredding_>;
template struct Expose<PartialShredding, &Shredder::pertialShredding_>;

ShredderFlag shreddingFlag()
{
    return member(Shredding{});
}

ShredderFlag partialShreddingFlag()
{
    return member(PartialShredding{});
}

} // namespace bw::test
