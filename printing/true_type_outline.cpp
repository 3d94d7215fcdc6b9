#include "printing/true_type_outline.h"

namespace kvalon {

namespace {

struct Spot {
    float x = 0, y = 0;
};

// A point that may not be there yet (std::optional leaves GCC 12 thinking
// it is read before it is set).
struct MaybeSpot {
    bool known = false;
    Spot at;
    explicit operator bool() const { return known; }
    Spot operator*() const { return at; }
    MaybeSpot& operator=(Spot p) {
        known = true;
        at = p;
        return *this;
    }
    void reset() { known = false; }
};

Spot halfway(Spot a, Spot b) {
    return {a.x + (b.x - a.x) * .5f, a.y + (b.y - a.y) * .5f};
}

// The steps, with the moves held back until a contour draws something, so
// that a contour of one point draws nothing.
class StepWriter {
public:
    explicit StepWriter(std::vector<OutlineStep>& steps) : m_steps(steps) {}

    void move_to(Spot p) {
        if (m_open) {
            close();
        }
        m_current = p;
    }
    void line_to(Spot p) {
        open();
        add(OutlineStep::Kind::Line, {p.x, p.y});
        m_current = p;
    }
    // The cubic with the quadratic's control point two thirds of the way
    // from each end, multiplied by a third in single precision as the
    // Linux build's reader does, to the last bit.
    void quadratic_to(Spot control, Spot p) {
        open();
        constexpr float kThird = 0.33333333f;
        add(OutlineStep::Kind::Cubic,
            {(m_current.x + 2.f * control.x) * kThird, (m_current.y + 2.f * control.y) * kThird,
             (p.x + 2.f * control.x) * kThird, (p.y + 2.f * control.y) * kThird, p.x, p.y});
        m_current = p;
    }
    void close() {
        if (m_open) {
            if (m_start.x != m_current.x || m_start.y != m_current.y) {
                add(OutlineStep::Kind::Line, {m_start.x, m_start.y});
            }
            add(OutlineStep::Kind::Close, {});
        }
        m_open = false;
        m_start = m_current = Spot{};
    }

private:
    void open() {
        if (!m_open) {
            m_open = true;
            m_start = m_current;
            add(OutlineStep::Kind::Move, {m_current.x, m_current.y});
        }
    }
    void add(OutlineStep::Kind kind, std::initializer_list<float> points) {
        OutlineStep step;
        step.kind = kind;
        std::size_t i = 0;
        for (const float value : points) {
            step.points[i++] = value;
        }
        m_steps.push_back(step);
    }

    std::vector<OutlineStep>& m_steps;
    bool m_open = false;
    Spot m_start;
    Spot m_current;
};

// One contour at a time: it starts at its first point on the curve (or
// halfway between two off it), and two points off the curve in a row have
// the point halfway between them on it.
class ContourWalk {
public:
    explicit ContourWalk(StepWriter& writer) : m_writer(writer) {}

    void take(const TrueTypeGlyphs::Point& point) {
        const Spot p{point.x, point.y};
        if (!m_first_on) {
            begin(p, point.on_curve);
        } else if (m_last_off) {
            if (point.on_curve) {
                m_writer.quadratic_to(*m_last_off, p);
                m_last_off.reset();
            } else {
                m_writer.quadratic_to(*m_last_off, halfway(*m_last_off, p));
                m_last_off = p;
            }
        } else if (point.on_curve) {
            m_writer.line_to(p);
        } else {
            m_last_off = p;
        }
        if (point.ends_contour) {
            end();
        }
    }

private:
    void begin(Spot p, bool on_curve) {
        if (on_curve) {
            m_first_on = p;
            m_writer.move_to(p);
        } else if (m_first_off) {
            const Spot middle = halfway(*m_first_off, p);
            m_first_on = middle;
            m_last_off = p;
            m_writer.move_to(middle);
        } else {
            m_first_off = p;
        }
    }

    void end() {
        if (m_first_off && m_last_off) {
            m_writer.quadratic_to(*m_last_off, halfway(*m_last_off, *m_first_off));
            m_last_off.reset();
        }
        if (m_first_off && m_first_on) {
            m_writer.quadratic_to(*m_first_off, *m_first_on);
        } else if (m_last_off && m_first_on) {
            m_writer.quadratic_to(*m_last_off, *m_first_on);
        } else if (m_first_on) {
            m_writer.line_to(*m_first_on);
        } else if (m_first_off) {
            m_writer.move_to(*m_first_off);
            m_writer.quadratic_to(*m_first_off, *m_first_off);
        }
        m_first_on.reset();
        m_first_off.reset();
        m_last_off.reset();
        m_writer.close();
    }

    StepWriter& m_writer;
    MaybeSpot m_first_on;
    MaybeSpot m_first_off;
    MaybeSpot m_last_off;
};

} // namespace

std::vector<OutlineStep> outline_of(const std::vector<TrueTypeGlyphs::Point>& points) {
    std::vector<OutlineStep> steps;
    StepWriter writer(steps);
    ContourWalk walk(writer);
    for (const TrueTypeGlyphs::Point& point : points) {
        walk.take(point);
    }
    writer.close();
    return steps;
}

} // namespace kvalon
