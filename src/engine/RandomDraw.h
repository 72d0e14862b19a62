#pragma once

// The draw r, uniform over 0..99, that picks the alternative messages. Tests install fixed draws.
class RandomDraw {
public:
    virtual ~RandomDraw() = default;
    virtual int percent() const;

    static const RandomDraw& current();
    // Installs a source (nullptr restores the random one); the caller keeps it alive.
    static void install(const RandomDraw* draw);
};

class FixedDraw : public RandomDraw {
public:
    explicit FixedDraw(int r) : m_r(r) {}
    int percent() const override { return m_r; }
    void set(int r) { m_r = r; }

private:
    int m_r;
};
