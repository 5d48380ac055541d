#include "harness.h"

#include "win32/dpi.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <future>
#include <random>
#include <thread>

namespace tessaro::e2e {

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout, Milliseconds step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

std::wstring BuiltFile(const std::wstring& name) {
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

namespace {

std::wstring TempRoot() {
    wchar_t temp[MAX_PATH];
    const DWORD length = ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp, length);
}

constexpr std::size_t kUniqueSuffixLength = 18;  // "-pppppppp-rrrrrrrr"

}  // namespace

TempFolder::TempFolder(const std::wstring& nameHint) {
    std::random_device random;
    wchar_t suffix[kUniqueSuffixLength + 1];
    swprintf(suffix, kUniqueSuffixLength + 1, L"-%08lx-%08x", ::GetCurrentProcessId(), random());
    path_ = TempRoot() + nameHint + suffix;
    std::filesystem::create_directories(std::filesystem::path(L"\\\\?\\" + path_));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(L"\\\\?\\" + path_), ignored);
}

std::wstring TempFolder::HintForPathLength(const std::wstring& start, std::size_t pathLength) {
    const std::size_t fixed = TempRoot().size() + start.size() + kUniqueSuffixLength;
    return start + std::wstring(pathLength > fixed ? pathLength - fixed : 0, L'x');
}

namespace {

// The path Wine gives a Windows path through Z:, or empty outside Wine.
std::wstring ThroughWineRootDrive(const std::wstring& path) {
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    const auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = unixFileName ? unixFileName(path.c_str()) : nullptr;
    if (!unixPath) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0);
    std::wstring through(static_cast<std::size_t>(std::max(length, 1)) - 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, through.data(), length);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    std::replace(through.begin(), through.end(), L'/', L'\\');
    return L"Z:" + through;
}

}  // namespace

std::vector<Spelling> OtherSpellings(const std::wstring& path) {
    std::vector<Spelling> spellings;
    wchar_t shortPath[MAX_PATH];
    const DWORD shortLength = ::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (shortLength > 0 && shortLength < MAX_PATH) spellings.push_back({"its short form", shortPath});
    std::wstring otherCase = path;
    for (wchar_t& c : otherCase) {
        wchar_t upper = c, lower = c;
        ::CharUpperBuffW(&upper, 1);
        ::CharLowerBuffW(&lower, 1);
        c = upper != c ? upper : lower;
    }
    spellings.push_back({"its letters in the other case", otherCase});
    if (std::wstring through = ThroughWineRootDrive(path); !through.empty()) {
        spellings.push_back({"another drive letter for its folder", through});
    }
    return spellings;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path.size() >= MAX_PATH ? L"\\\\?\\" + path : path), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SolidBmp(int width, int height, std::uint32_t rgb) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(height);
    std::string bmp;
    const auto put16 = [&](std::uint32_t v) { bmp.append({static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}); };
    const auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    bmp += "BM";
    put32(54 + imageBytes);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);
    put16(24);
    put32(0);
    put32(imageBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    std::string row(static_cast<std::size_t>(rowBytes), '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<char>(rgb & 0xFF);
        row[x * 3 + 1] = static_cast<char>(rgb >> 8 & 0xFF);
        row[x * 3 + 2] = static_cast<char>(rgb >> 16 & 0xFF);
    }
    for (int y = 0; y < height; ++y) bmp += row;
    return bmp;
}

void WriteSolidBmp(const std::wstring& path, int width, int height, std::uint32_t rgb) {
    WriteFileBytes(path, SolidBmp(width, height, rgb));
}

std::string EncodeSource(IWICBitmapSource* source, const GUID& container, float jpegQuality) {
    return EncodeFrames({source}, container, jpegQuality);
}

std::string EncodeFrames(const std::vector<IWICBitmapSource*>& sources, const GUID& container, float jpegQuality) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    bool encoded =
        SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) &&
        SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) &&
        SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.put())) &&
        SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    for (IWICBitmapSource* source : sources) {
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        UINT width = 0, height = 0;
        WICPixelFormatGUID format{};
        const auto setQuality = [&] {
            if (jpegQuality <= 0.0f || container != GUID_ContainerFormatJpeg) return true;
            PROPBAG2 option{};
            option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
            VARIANT value{};
            value.vt = VT_R4;
            value.fltVal = jpegQuality;
            return SUCCEEDED(options->Write(1, &option, &value));
        };
        // WriteSource converts to whatever pixel format the encoder settles on (GIF wants a palette).
        encoded = encoded && SUCCEEDED(source->GetSize(&width, &height)) && SUCCEEDED(source->GetPixelFormat(&format)) &&
                  SUCCEEDED(encoder->CreateNewFrame(frame.put(), options.put())) && setQuality() &&
                  SUCCEEDED(frame->Initialize(options.get())) && SUCCEEDED(frame->SetSize(width, height)) &&
                  SUCCEEDED(frame->SetPixelFormat(&format)) && SUCCEEDED(frame->WriteSource(source, nullptr)) &&
                  SUCCEEDED(frame->Commit());
    }
    if (!encoded || FAILED(encoder->Commit())) return {};
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
    const LARGE_INTEGER start{};
    ULONG read = 0;
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return bytes;
}

std::string EncodePixels(int width, int height, const std::vector<std::uint32_t>& pixels, const GUID& container) {
    const auto* bytes = reinterpret_cast<const char*>(pixels.data());
    return EncodeMemory(width, height, GUID_WICPixelFormat32bppBGR, {std::string(bytes, pixels.size() * 4)}, container);
}

std::string EncodeMemory(int width, int height, const GUID& format, const std::vector<std::string>& frames,
                         const GUID& container) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())))) {
        return {};
    }
    std::vector<ComPtr<IWICBitmap>> bitmaps;
    std::vector<IWICBitmapSource*> sources;
    for (const std::string& frame : frames) {
        const UINT stride = static_cast<UINT>(frame.size() / static_cast<std::size_t>(height));
        ComPtr<IWICBitmap> bitmap;
        if (FAILED(factory->CreateBitmapFromMemory(static_cast<UINT>(width), static_cast<UINT>(height), format, stride,
                                                   static_cast<UINT>(frame.size()),
                                                   reinterpret_cast<BYTE*>(const_cast<char*>(frame.data())), bitmap.put()))) {
            return {};
        }
        sources.push_back(bitmap.get());
        bitmaps.push_back(std::move(bitmap));
    }
    return EncodeFrames(sources, container);
}

std::string WithExifOrientation(std::string jpeg, int orientation) {
    // A little-endian TIFF header and one directory entry: tag 274, one SHORT.
    const std::string tiff = std::string("II*\0\x08\0\0\0", 8) + std::string("\x01\0\x12\x01\x03\0\x01\0\0\0", 10) +
                             static_cast<char>(orientation) + std::string(7, '\0');
    return WithExif(std::move(jpeg), tiff);
}

std::string WithExif(std::string jpeg, const std::string& tiff) {
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = body.size() + 2;
    jpeg.insert(2, "\xFF\xE1" + std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + body);
    return jpeg;
}

std::string SolidPicture(int width, int height, std::uint32_t rgb, const GUID& container) {
    return EncodePixels(width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, rgb), container);
}

Picture DecodePicture(const std::string& bytes) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    const bool decoded =
        SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) &&
        SUCCEEDED(factory->CreateStream(stream.put())) &&
        SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                               static_cast<DWORD>(bytes.size()))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) &&
        SUCCEEDED(decoder->GetFrame(0, frame.put())) && SUCCEEDED(factory->CreateFormatConverter(converter.put())) &&
        SUCCEEDED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height));
    if (!decoded) return {};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data())))) {
        return {};
    }
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFFu;
    return {static_cast<int>(width), static_cast<int>(height), std::move(pixels)};
}

std::wstring SlideName(int number) {
    wchar_t name[32];
    swprintf(name, 32, L"ZUMIK%02d.DAT", number);
    return name;
}

Process::Process(const std::wstring& program, const std::wstring& commandLine, Start start) {
    Create(program, commandLine, start == Start::Suspended ? CREATE_SUSPENDED : 0);
}

Process::Process(const std::wstring& program, const std::wstring& commandLine, TraceSink sink) {
    // The thread that creates a process to debug is the one that must wait for its events.
    std::promise<void> created;
    debugger_ = std::thread([&, sink = std::move(sink)] {
        const bool debugging = Create(program, commandLine, DEBUG_ONLY_THIS_PROCESS);
        created.set_value();
        if (debugging) Debug(sink);
    });
    created.get_future().wait();
}

bool Process::Create(const std::wstring& program, const std::wstring& commandLine, DWORD flags) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring mutableCommandLine = commandLine;
    const std::wstring application = program.size() >= MAX_PATH ? L"\\\\?\\" + program : program;
    // Beside a CPU-bound job, CreateProcessW under Wine once failed in some hundreds of starts. A
    // start that fails is reported with its error and tried again, a few times; a program that
    // cannot start at all fails every try.
    constexpr int kStartTries = 3;
    for (int tries = 1; !::CreateProcessW(application.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE, flags,
                                          nullptr, nullptr, &startup, &info);
         ++tries) {
        std::fprintf(stderr, "starting %ls failed, error %lu (try %d of %d)\n", program.c_str(), ::GetLastError(), tries,
                     kStartTries);
        if (tries == kStartTries) return false;
        mutableCommandLine = commandLine;
    }
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
    return true;
}

void Process::Debug(const TraceSink& sink) {
    bool initialBreak = true;
    for (;;) {
        DEBUG_EVENT event{};
        if (!::WaitForDebugEvent(&event, INFINITE)) return;
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
                break;
            case EXCEPTION_DEBUG_EVENT:
                // The process's own handlers get every exception but the debugger's first break.
                if (!initialBreak || event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    status = DBG_EXCEPTION_NOT_HANDLED;
                }
                initialBreak = false;
                break;
            case OUTPUT_DEBUG_STRING_EVENT: {
                const OUTPUT_DEBUG_STRING_INFO& text = event.u.DebugString;
                const std::size_t unitSize = text.fUnicode ? sizeof(wchar_t) : 1;
                std::string bytes(text.nDebugStringLength * unitSize, '\0');
                SIZE_T read = 0;
                ::ReadProcessMemory(process_.get(), text.lpDebugStringData, bytes.data(), bytes.size(), &read);
                bytes.resize(read);
                std::wstring line;
                if (text.fUnicode) {
                    line.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
                } else {
                    line.resize(bytes.size());
                    line.resize(static_cast<std::size_t>(::MultiByteToWideChar(
                        CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), line.data(), static_cast<int>(line.size()))));
                }
                while (!line.empty() && (line.back() == L'\0' || line.back() == L'\n')) line.pop_back();
                if (sink) sink(line);
                const std::lock_guard<std::mutex> lock(traceMutex_);
                trace_.push_back(std::move(line));
                break;
            }
            default:
                break;
        }
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) return;
    }
}

Process::~Process() {
    if (Running()) {
        ::TerminateProcess(process_.get(), 1);
        WaitForExit(5000ms);
    }
    if (debugger_.joinable()) debugger_.join();
}

std::vector<std::wstring> Process::Trace() const {
    const std::lock_guard<std::mutex> lock(traceMutex_);
    return trace_;
}

bool Process::Running() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(Milliseconds timeout) const {
    return process_ && ::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

bool Process::WaitForInputIdle(Milliseconds timeout) const {
    return WaitUntil([&] { return !Running() || ::WaitForInputIdle(process_.get(), 0) == 0; }, timeout, 5ms);
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::vector<HWND> Process::Windows() const {
    struct Search {
        DWORD id;
        std::vector<HWND> found;
    } search{id_, {}};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->id && ::IsWindowVisible(window)) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Process::WaitForWindow(const std::function<bool(HWND)>& matches, Milliseconds timeout) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : Windows()) {
                if (matches(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

HWND Process::WaitForWindow(const wchar_t* className, Milliseconds timeout) const {
    return WaitForWindow([&](HWND window) { return ClassName(window) == className; }, timeout);
}

HWND Process::WaitForCaption(const std::wstring& caption, Milliseconds timeout) const {
    return WaitForWindow([&](HWND window) { return WindowText(window) == caption; }, timeout);
}

SaverFolder::SaverFolder(const wchar_t* programName, const std::wstring& folderHint)
    : folder_(folderHint), program_(folder_ / L"Tessaro.scr") {
    std::filesystem::copy_file(std::filesystem::path(BuiltFile(programName)),
                               std::filesystem::path(program_.size() >= MAX_PATH ? L"\\\\?\\" + program_ : program_));
}

void SaverFolder::AddSolidSlide(int number, int width, int height, std::uint32_t rgb) const {
    WriteSolidBmp(Slide(number), width, height, rgb);
}

namespace {

std::wstring CommandLine(const std::wstring& program, const std::wstring& arguments) {
    return L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
}

}  // namespace

std::unique_ptr<Process> SaverFolder::Start(const std::wstring& arguments, Process::Start start) const {
    return std::make_unique<Process>(program_, CommandLine(program_, arguments), start);
}

std::unique_ptr<Process> SaverFolder::StartTraced(const std::wstring& arguments, TraceSink sink) const {
    return std::make_unique<Process>(program_, CommandLine(program_, arguments), std::move(sink));
}

namespace {

// Selects a GDI object into a DC for the lifetime of this object.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace

Screenshot Screenshot::Take() { return Take(RECT{0, 0, ScreenWidth(), ScreenHeight()}); }

Screenshot Screenshot::Take(const RECT& area) {
    Screenshot shot;
    shot.width_ = area.right - area.left;
    shot.height_ = area.bottom - area.top;
    shot.pixels_.resize(static_cast<std::size_t>(shot.width_) * shot.height_);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width_;
    info.bmiHeader.biHeight = -shot.height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const WindowDc screen(nullptr);
    UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueHdc memory(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return shot;
    {
        const ScopedSelect select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, shot.width_, shot.height_, screen.get(), area.left, area.top, SRCCOPY);
    }
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < shot.pixels_.size(); ++i) shot.pixels_[i] = source[i] & 0xFFFFFFu;
    return shot;
}

Screenshot Screenshot::Crop(const RECT& area) const {
    Screenshot part;
    const int left = std::max(0, static_cast<int>(area.left));
    const int top = std::max(0, static_cast<int>(area.top));
    part.width_ = std::max(0, std::min(width_, static_cast<int>(area.right)) - left);
    part.height_ = std::max(0, std::min(height_, static_cast<int>(area.bottom)) - top);
    for (int y = 0; y < part.height_; ++y)
        for (int x = 0; x < part.width_; ++x) part.pixels_.push_back(At(left + x, top + y));
    return part;
}

bool Screenshot::SavePng(const std::wstring& path) const {
    const std::string png = EncodePixels(width_, height_, pixels_, GUID_ContainerFormatPng);
    if (png.empty()) return false;
    WriteFileBytes(path, png);
    return true;
}

std::uint32_t ScreenPixel(int x, int y) {
    const WindowDc screen(nullptr);
    const COLORREF colour = ::GetPixel(screen.get(), x, y);
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

std::uint32_t WaitForPixel(int x, int y, std::uint32_t rgb, Milliseconds timeout) {
    std::uint32_t seen = 0;
    WaitUntil(
        [&] {
            seen = ScreenPixel(x, y);
            return seen == rgb;
        },
        timeout, 5ms);
    return seen;
}

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

std::vector<RECT> MonitorRects() {
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM context) -> BOOL {
            auto& found = *reinterpret_cast<std::vector<RECT>*>(context);
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
            const bool primary = info.dwFlags & MONITORINFOF_PRIMARY;
            found.insert(primary ? found.begin() : found.end(), info.rcMonitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

RECT VirtualScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

namespace {

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void PressKeys(const std::vector<WORD>& keysInOrder) {
    std::vector<INPUT> inputs;
    for (WORD key : keysInOrder) inputs.push_back(KeyInput(key, false));
    for (auto key = keysInOrder.rbegin(); key != keysInOrder.rend(); ++key) inputs.push_back(KeyInput(*key, true));
    for (INPUT& input : inputs) {
        ::SendInput(1, &input, sizeof(INPUT));
        std::this_thread::sleep_for(30ms);  // let each key reach the focused window in order
    }
}

void PressKey(WORD virtualKey) { PressKeys({virtualKey}); }

void ClickMouse(DWORD downFlag, DWORD upFlag, DWORD data) {
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    inputs[0].mi.mouseData = inputs[1].mi.mouseData = data;
    ::SendInput(2, inputs, sizeof(INPUT));
}

void MoveMouseTo(int x, int y) {
    // Under Wine, SendInput moves only Wine's idea of the pointer; the X server's pointer stays
    // behind and is later read back as a move to the old place. SetCursorPos warps the X
    // pointer itself, so the window under it gets ordinary motion events, and never a relative
    // (accelerated) one. Wine warps only on a change of position, hence the nudge.
    POINT at{};
    if (::GetCursorPos(&at) && at.x == x && at.y == y) ::SetCursorPos(x > 0 ? x - 1 : x + 1, y);
    ::SetCursorPos(x, y);
}

void RestPointerAt(int x, int y) {
    MoveMouseTo(x, y);
    constexpr int kStillPolls = 15;  // 150 ms without a late copy of an earlier move
    int still = 0;
    WaitUntil(
        [&] {
            POINT at{};
            ::GetCursorPos(&at);
            if (at.x == x && at.y == y) return ++still >= kStillPolls;
            still = 0;
            ::SetCursorPos(x, y);  // a late copy moved it back: put it where it belongs again
            return false;
        },
        3000ms, 10ms);
}

void ClickOn(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    MoveMouseTo((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

bool CursorShowing() {
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    return ::GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING);
}

HWND Taskbar() { return ::FindWindowW(L"Shell_TrayWnd", nullptr); }

bool TaskbarVisible() {
    HWND taskbar = Taskbar();
    return taskbar && ::IsWindowVisible(taskbar);
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256];
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

RECT ClientRectOnScreen(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

RECT ControlRect(HWND parent, int controlId) {
    RECT rect{};
    HWND control = ::GetDlgItem(parent, controlId);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int WindowDpi(HWND window) { return DpiFunctions::System().WindowDpi(window); }

}  // namespace tessaro::e2e
