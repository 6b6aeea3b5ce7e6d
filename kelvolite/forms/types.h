// Basic types of the form layer: the root object, event signatures and the
// exception family the application's default handler shows.
#pragma once
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state bits, as the mouse and key handlers receive them.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16,
                      ssMiddle = 32, ssDouble = 64;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Modal results (the values of IDOK, IDCANCEL, IDYES, IDNO).
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO;

// The framework's exception family: anything derived from it that escapes an
// event handler is shown by the application's default handler.
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

TShiftState ShiftStateFromKeys(WPARAM mouseKeys);
TShiftState CurrentShiftState();
