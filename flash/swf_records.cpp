#include "flash/swf_records.h"

namespace flash {

Matrix ToMatrix(const swf::Matrix& m) {
    return Matrix{m.scale_x, m.skew0, m.skew1, m.scale_y, double(m.tx), double(m.ty)};
}

ColorTransform ToColorTransform(const swf::ColorTransform& t) {
    return ColorTransform{t.rm, t.gm, t.bm, t.am, t.ra, t.ga, t.ba, t.aa};
}

}  // namespace flash
