#pragma once
// Drives the real Tessaro.scr from a Windows-side test program: starts it in a folder of the
// test's own making, finds its windows, reads the screen and sends real input.

#include <windows.h>
#include <wincodec.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/com_apartment.h"
#include "win32/unique_resource.h"

namespace tessaro::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// The bound on waiting for something that should happen promptly. Only a failing test waits
// that long; a passing one goes on the moment the condition holds, however busy the machine.
inline constexpr Milliseconds kPatience = 30000ms;
// How long a test watches for something that must not happen, such as a saver ending: time
// enough for a program that does it to show it. A slower machine can only hide such a fault.
inline constexpr Milliseconds kQuietPeriod = 500ms;

// Polls condition until it holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout, Milliseconds step = 20ms);

// Path of a file built beside this test program.
std::wstring BuiltFile(const std::wstring& name);

// A fresh folder, removed with everything in it when the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& nameHint = L"tessaro-e2e");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    // A name hint, beginning with start, that makes the folder's path exactly pathLength long.
    static std::wstring HintForPathLength(const std::wstring& start, std::size_t pathLength);

private:
    std::wstring path_;
};

// Other spellings of the path of an existing file, each with what makes it other: its short (8.3)
// form, its letters in the other case (non-ASCII ones too), and a path through another drive
// letter that leads to the same folder (under Wine, Z:, which it maps to the Unix root).
struct Spelling {
    const char* what;
    std::wstring path;
};
std::vector<Spelling> OtherSpellings(const std::wstring& path);

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
// A 24-bit BMP of one colour (0xRRGGBB).
std::string SolidBmp(int width, int height, std::uint32_t rgb);
void WriteSolidBmp(const std::wstring& path, int width, int height, std::uint32_t rgb);
std::wstring SlideName(int number);  // "ZUMIK07.DAT"
// A picture in the given WIC container format (PNG, JPEG, GIF, TIFF, BMP), from the pixels of
// source; a JPEG at jpegQuality (0 to 1) when that is above 0, else at the encoder's default.
std::string EncodeSource(IWICBitmapSource* source, const GUID& container, float jpegQuality = 0.0f);
// The same with one frame (page) for each source, in order.
std::string EncodeFrames(const std::vector<IWICBitmapSource*>& sources, const GUID& container, float jpegQuality = 0.0f);
// The same from 0xRRGGBB pixels.
std::string EncodePixels(int width, int height, const std::vector<std::uint32_t>& pixels, const GUID& container);
// The same from rows of any WIC pixel format, packed, one string of them for each frame.
std::string EncodeMemory(int width, int height, const GUID& format, const std::vector<std::string>& frames,
                         const GUID& container);
// The JPEG with an EXIF segment saying how it is to be turned (1 to 8) put right after its start.
std::string WithExifOrientation(std::string jpeg, int orientation);
// The JPEG with an EXIF segment holding the given TIFF structure put right after its start.
std::string WithExif(std::string jpeg, const std::string& tiff);
// A picture of one colour.
std::string SolidPicture(int width, int height, std::uint32_t rgb, const GUID& container);

// A picture file's first frame as WIC in this process decodes it, as 0xRRGGBB pixels row by row,
// each as the saver would show it: premultiplied, so transparent parts are black. Empty when it
// cannot be decoded.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
Picture DecodePicture(const std::string& bytes);

// Receives the lines a traced process writes with OutputDebugString.
using TraceSink = std::function<void(const std::wstring& line)>;

class Process {
public:
    // commandLine is passed to CreateProcessW exactly as given. A suspended process runs once
    // Resume is called.
    enum class Start { Running, Suspended };
    Process(const std::wstring& program, const std::wstring& commandLine, Start start = Start::Running);
    // A traced process runs with this test program as its debugger, which is how its diagnostics
    // are read (as on Windows; Wine prints OutputDebugStringW's lines with no debug channel).
    // Each line goes to sink, if any, on the debugger's thread while the process waits, and is kept.
    Process(const std::wstring& program, const std::wstring& commandLine, TraceSink sink);
    ~Process();  // a process still running is terminated
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    void Resume() const { ::ResumeThread(thread_.get()); }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    bool Started() const { return static_cast<bool>(process_); }
    bool Running() const;
    bool WaitForExit(Milliseconds timeout) const;
    DWORD ExitCode() const;
    // Waits until the program's main thread has handled all the input queued for it and waits
    // for more (WaitForInputIdle), or has ended; false on timeout.
    bool WaitForInputIdle(Milliseconds timeout) const;

    // Visible top-level windows of this process.
    std::vector<HWND> Windows() const;
    // The first visible top-level window that matches, waiting for it; null on timeout.
    HWND WaitForWindow(const std::function<bool(HWND)>& matches, Milliseconds timeout = 5000ms) const;
    HWND WaitForWindow(const wchar_t* className, Milliseconds timeout = 5000ms) const;
    HWND WaitForCaption(const std::wstring& caption, Milliseconds timeout = 5000ms) const;

    // The lines a traced process has written so far.
    std::vector<std::wstring> Trace() const;

private:
    bool Create(const std::wstring& program, const std::wstring& commandLine, DWORD flags);
    void Debug(const TraceSink& sink);

    UniqueHandle process_;
    UniqueHandle thread_;
    DWORD id_ = 0;
    std::thread debugger_;
    mutable std::mutex traceMutex_;
    std::vector<std::wstring> trace_;
};

// A copy of the built program, with the slides a test makes, in a folder of its own.
class SaverFolder {
public:
    explicit SaverFolder(const wchar_t* programName = L"Tessaro.scr", const std::wstring& folderHint = L"tessaro-e2e");
    const std::wstring& Folder() const { return folder_.Path(); }
    const std::wstring& Program() const { return program_; }
    std::wstring Slide(int number) const { return folder_ / SlideName(number); }
    void AddSolidSlide(int number, int width, int height, std::uint32_t rgb) const;
    // Starts the program with the given argument text after its quoted path.
    std::unique_ptr<Process> Start(const std::wstring& arguments, Process::Start start = Process::Start::Running) const;
    std::unique_ptr<Process> StartTraced(const std::wstring& arguments, TraceSink sink = {}) const;

private:
    TempFolder folder_;
    std::wstring program_;
};

inline constexpr wchar_t kSaverClass[] = L"TessaroSaverWindow";
inline constexpr wchar_t kDialogClass[] = L"#32770";

// The whole screen (the primary monitor), or an area of the virtual screen, as 0xRRGGBB values.
class Screenshot {
public:
    static Screenshot Take();
    static Screenshot Take(const RECT& area);
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    Screenshot Crop(const RECT& area) const;
    // Writes a PNG.
    bool SavePng(const std::wstring& path) const;
    friend bool operator==(const Screenshot&, const Screenshot&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// True when the colours differ by at most tolerance in each channel (lossy formats).
inline bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) return false;
    }
    return true;
}

// One pixel of the screen, 0xRRGGBB: much quicker than a whole screenshot.
std::uint32_t ScreenPixel(int x, int y);
// Waits until the pixel has the colour; returns the last colour seen.
std::uint32_t WaitForPixel(int x, int y, std::uint32_t rgb, Milliseconds timeout = 5000ms);

int ScreenWidth();
int ScreenHeight();
// Every monitor's rectangle in virtual-screen coordinates, the primary's first.
std::vector<RECT> MonitorRects();
RECT VirtualScreen();

void PressKey(WORD virtualKey);
void PressKeys(const std::vector<WORD>& keysInOrder);  // held down in order, released in reverse
void ClickMouse(DWORD downFlag, DWORD upFlag, DWORD data = 0);
void MoveMouseTo(int x, int y);  // absolute: Wine accelerates relative moves
// Puts the pointer at x, y and waits until it has stayed there a while: under Wine the X server
// delivers late copies of earlier moves, which must be over before a test starts a saver that
// takes its reference point from where the pointer rests.
void RestPointerAt(int x, int y);
void ClickOn(HWND window);       // a left click in the middle of a window or control

bool CursorShowing();
HWND Taskbar();
bool TaskbarVisible();

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
RECT ClientRectOnScreen(HWND window);
// A child control's rectangle relative to its parent's client area.
RECT ControlRect(HWND parent, int controlId);
int WindowDpi(HWND window);

}  // namespace tessaro::e2e
