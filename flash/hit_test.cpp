// Point-in-shape tests over the edges of a shape, and what the player asks
// of them: whether a clip, a button's hit area or a placed character covers
// a point of the stage.
#include "flash/hit_test.h"

#include "flash/drawing.h"
#include "flash/player.h"

#include <cmath>

namespace flash {

namespace {

// Curves are tested as this many straight pieces.
constexpr int kCurvePieces = 8;
// Lines thinner than this (hairlines) are hit this wide, in twips.
constexpr double kMinLineWidth = 20;
constexpr int kMaxNesting = 32;

struct Segment {
    double x0, y0, x1, y1;
};

template <typename Visit>
void ForEachSegment(const ShapeEdge& edge, Visit visit) {
    if (!edge.curved) {
        visit(Segment{double(edge.x0), double(edge.y0), double(edge.x1), double(edge.y1)});
        return;
    }
    double px = edge.x0, py = edge.y0;
    for (int i = 1; i <= kCurvePieces; ++i) {
        double t = double(i) / kCurvePieces, u = 1 - t;
        double x = u * u * edge.x0 + 2 * u * t * edge.cx + t * t * edge.x1;
        double y = u * u * edge.y0 + 2 * u * t * edge.cy + t * t * edge.y1;
        visit(Segment{px, py, x, y});
        px = x, py = y;
    }
}

// +1 or -1 when the segment crosses the horizontal ray from (x, y) to the
// right going down or up; 0 when it misses.
int Crossing(const Segment& s, double x, double y) {
    if ((s.y0 <= y) == (s.y1 <= y)) return 0;
    double at = s.x0 + (y - s.y0) * (s.x1 - s.x0) / (s.y1 - s.y0);
    if (at <= x) return 0;
    return s.y1 > s.y0 ? 1 : -1;
}

double DistanceSquared(const Segment& s, double x, double y) {
    double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    double length = dx * dx + dy * dy;
    double t = length > 0 ? ((x - s.x0) * dx + (y - s.y0) * dy) / length : 0;
    t = std::fmax(0, std::fmin(1, t));
    double ex = s.x0 + t * dx - x, ey = s.y0 + t * dy - y;
    return ex * ex + ey * ey;
}

bool LayerContains(const ShapeLayer& layer, bool nonzero, double x, double y) {
    // Each fill is bounded by the edges that have it on one side only; seen
    // with the fill on their right, those edges make closed loops.
    for (size_t fill = 1; fill <= layer.fills.size(); ++fill) {
        int winding = 0, crossings = 0;
        for (const ShapeEdge& edge : layer.edges) {
            bool right = edge.fill1 == fill, left = edge.fill0 == fill;
            if (right == left) continue;
            int sign = right ? 1 : -1;
            ForEachSegment(edge, [&](const Segment& s) {
                int c = Crossing(s, x, y);
                winding += sign * c;
                crossings += c != 0;
            });
        }
        if (nonzero ? winding != 0 : (crossings & 1)) return true;
    }
    for (const ShapeEdge& edge : layer.edges) {
        if (edge.line == 0 || edge.line > layer.lines.size()) continue;
        double half = std::fmax(layer.lines[edge.line - 1].width, kMinLineWidth) / 2;
        bool near = false;
        ForEachSegment(edge, [&](const Segment& s) { near = near || DistanceSquared(s, x, y) <= half * half; });
        if (near) return true;
    }
    return false;
}

bool InBox(double x, double y, double x0, double y0, double x1, double y1) {
    return x >= x0 && x <= x1 && y >= y0 && y <= y1;
}

bool ClipHit(const Clip& clip, const Matrix& to_stage, double x, double y, bool shape, int nesting);

// Whether a character placed with the matrix m (its space to the stage's)
// covers the stage point. clip is the instance's clip when it has one.
bool CharacterHit(const Movie& movie, const Character* c, const Clip* clip, const Matrix& m, double x, double y,
                  bool shape, int nesting) {
    if (!c || nesting > kMaxNesting) return false;
    if (clip) return ClipHit(*clip, m, x, y, shape, nesting + 1);
    auto inverse = Inverse(m);
    if (!inverse) return false;
    double lx = inverse->X(x, y), ly = inverse->Y(x, y);
    const Shape* s = c->shape ? c->shape.get() : c->morph ? &c->morph->start : nullptr;
    if (s) {
        if (!InBox(lx, ly, s->xmin, s->ymin, s->xmax, s->ymax)) return false;
        return !shape || ShapeContains(*s, lx, ly);
    }
    if (c->text) {
        // Static text: the glyphs' outlines (their own fill rule).
        Matrix base = Multiply(m, c->text->matrix);
        for (const TextRun& run : c->text->runs) {
            const Character* font = movie.Find(run.font);
            if (!font || !font->font || font->font->em <= 0) continue;
            double scale = run.height / font->font->em, at = run.x;
            for (const auto& [glyph, advance] : run.glyphs) {
                if (glyph < font->font->glyphs.size()) {
                    Matrix place;
                    place.a = place.d = scale;
                    place.tx = at, place.ty = run.y;
                    auto back = Inverse(Multiply(base, place));
                    if (back && ShapeContains(font->font->glyphs[glyph], back->X(x, y), back->Y(x, y))) return true;
                }
                at += advance;
            }
        }
        return false;
    }
    if (c->edit_text) {
        const EditText& t = *c->edit_text;
        return InBox(lx, ly, t.xmin, t.ymin, t.xmax, t.ymax);
    }
    if (c->sprite) {
        // A sprite without a clip (a button's hit record): its first frame.
        const Frame* frame = c->sprite->timeline.At(0);
        if (!frame) return false;
        const Movie& owner = c->owner ? *c->owner : movie;
        for (const ControlTag& tag : frame->tags)
            if (tag.kind == ControlKind::Place && tag.place.has_character &&
                CharacterHit(owner, owner.Find(tag.place.character), nullptr, Multiply(m, tag.place.matrix), x, y,
                             shape, nesting + 1))
                return true;
    }
    return false;
}

bool ClipHit(const Clip& clip, const Matrix& to_stage, double x, double y, bool shape, int nesting) {
    if (clip.button) {
        for (const PlaceRecord& record : clip.button->hit)
            if (CharacterHit(*clip.movie, clip.movie->Find(record.character), nullptr,
                             Multiply(to_stage, record.matrix), x, y, shape, nesting))
                return true;
        return false;
    }
    if (clip.drawing && !clip.drawing->empty) {
        // What the drawing methods made lies under the children.
        const Shape& drawn = clip.drawing->shape;
        auto inverse = Inverse(to_stage);
        if (inverse) {
            double lx = inverse->X(x, y), ly = inverse->Y(x, y);
            if (InBox(lx, ly, drawn.xmin, drawn.ymin, drawn.xmax, drawn.ymax) &&
                (!shape || ShapeContains(drawn, lx, ly)))
                return true;
        }
    }
    for (const auto& [depth, instance] : clip.children) {
        if (!instance.definition || instance.clip_depth > 0) continue;
        if (CharacterHit(*clip.movie, instance.definition, instance.clip, Multiply(to_stage, instance.matrix), x, y,
                         shape, nesting))
            return true;
    }
    return false;
}

}  // namespace

bool ShapeContains(const Shape& shape, double x, double y) {
    for (const ShapeLayer& layer : shape.layers)
        if (LayerContains(layer, shape.nonzero_winding, x, y)) return true;
    return false;
}

bool Player::HitsPoint(Clip& clip, double x, double y, bool shape) {
    return ClipHit(clip, StageMatrix(clip), x, y, shape, 0);
}

Matrix Player::WorldMatrix(Clip& clip) {
    Matrix m = StageMatrix(clip);
    return root_ ? Multiply(root_instance_.matrix, m) : m;
}

}  // namespace flash
