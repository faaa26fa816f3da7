// The settings that move together: a scope layout sets its signal and trace
// zero lines, a time base its two steps. Commands and panel clicks share them.
#pragma once

struct ScopeLayoutRow {
    int layout;        // m_nScopeLayout
    int signal;        // m_nScopeSignal
    int traceY1;       // zero lines; 0: left as they are
    int traceY2;
};

inline constexpr ScopeLayoutRow kScopeLayouts[] = {
    { 1, 1, 120, 320 },   // two channels offset
    { 2, 1, 220, 220 },   // superposed
    { 3, 3, 0, 0 },       // sum
    { 4, 4, 0, 0 },       // difference
    { 5, 5, 0, 0 },       // Lissajous figure
};

struct TimeBaseRow {
    int timeBase;          // m_nTimeBase: ms for 50, 20, 10; us for the others
    int pixelsPerSample;   // x step between drawn points
    int samplesPerPixel;   // index step between drawn samples
};

// In menu order, longest first.
inline constexpr TimeBaseRow kTimeBases[] = {
    { 50, 1, 5 }, { 20, 1, 2 }, { 10, 1, 1 }, { 5000, 2, 1 },
    { 2000, 5, 1 }, { 1000, 10, 1 }, { 500, 20, 1 }, { 200, 50, 1 },
};

// Refresh periods in ms, in command order (Lent, Moyen, Rapide).
inline constexpr unsigned kRefreshPeriods[] = { 1000, 500, 100 };
inline constexpr int kVerticalGains[] = { 1, 2, 5 };
