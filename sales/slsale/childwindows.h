#pragma once
// The ids of the child-window registry of the sales host and its modules
// (only the E group is slsale's own) and the accessor triple of each:
// GetXWnd() gives the window of id X or null; SetXWnd(window, flag)
// records it (nonzero on success); ResetXWnd(flag) clears it.

class QWidget;

// X(name, id) for every registry entry.
#define SLSALE_CHILD_WINDOWS(X)                                                         \
  X(A10, 10) X(A83, 11) X(A90, 12) X(A110, 13)                                          \
  X(B20, 20) X(B40, 21) X(B50, 22) X(B60, 23) X(B70, 24) X(B80, 25) X(B90, 26)          \
  X(C10, 30) X(C20, 31) X(C30, 32) X(C40, 33)                                           \
  X(D10, 40) X(D20, 41)                                                                 \
  X(E10, 50) X(E20, 51) X(E30, 52) X(E40, 53) X(E50, 54) X(E60, 55)                     \
  X(F10, 60) X(F20, 61) X(F30, 62) X(F40, 63)                                           \
  X(G10, 70) X(G20, 71) X(G30, 72) X(G40, 73)                                           \
  X(H10, 80) X(H20, 81) X(H30, 82) X(H40, 83) X(H90, 88)

#if !defined(SLSALE_API)
#if defined(SLSALE_BUILDING)
#define SLSALE_API Q_DECL_EXPORT
#else
#define SLSALE_API Q_DECL_IMPORT
#endif
#endif

extern "C" {
#define SLSALE_DECLARE_ACCESSORS(name, id)                      \
  SLSALE_API QWidget* Get##name##Wnd();                         \
  SLSALE_API int Set##name##Wnd(QWidget* window, short flag);   \
  SLSALE_API int Reset##name##Wnd(short flag);
SLSALE_CHILD_WINDOWS(SLSALE_DECLARE_ACCESSORS)
#undef SLSALE_DECLARE_ACCESSORS
}
