#include "win32_serial_backend.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>

#include "local_line.h"
#include "serial_port.h"

namespace transport {
namespace {

// How long a read that the timeouts should end at once may take before it is given up.
constexpr DWORD kReadLimitMs = 200;
// After this many waits in a row that the driver ended without an event, the port's waits
// are taken not to hold, and the reader looks at the input queue every kPollStepMs instead.
constexpr int kEmptyWaitsBeforePolling = 3;
constexpr int kPollStepMs = 5;

// Errors of an I/O on a port that was open: the line itself is gone (a USB adapter pulled,
// its driver stopped), not merely busy or slow.
bool LineGone(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_BAD_COMMAND:
        case ERROR_OPERATION_ABORTED:
        case ERROR_DEVICE_REMOVED:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_HANDLE:
        case ERROR_BROKEN_PIPE:
            return true;
        default:
            return false;
    }
}

// Whether an I/O that failed with `error` means the line is gone. An I/O aborted by nobody
// here is checked with the driver first: wine, on a port that is a pseudo-terminal, aborts
// a pending WaitCommEvent within milliseconds while the line is fine; a pulled adapter also
// fails the status query.
bool Gone(HANDLE port, DWORD error) {
    if (!LineGone(error)) return false;
    if (error != ERROR_OPERATION_ABORTED) return true;
    DWORD errors = 0;
    COMSTAT status{};
    return !::ClearCommError(port, &errors, &status) && LineGone(::GetLastError());
}

OpenError OpenErrorOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_DEVICE_REMOVED:
            return OpenError::Missing;
        // Windows gives a COM port to one program at a time; a second one is refused with
        // "access denied", which means the line is in use, not a lack of rights.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return OpenError::Busy;
        default:
            return OpenError::Other;
    }
}

enum class IoEnd { Done, TimedOut, Failed };

// Collects an overlapped operation that is under way, giving it up to `limitMs`; past that
// it is cancelled, and the cancellation is waited for: the driver writes into `overlapped`
// (and the buffer) until the operation has ended. Bytes moved before the cancellation
// still count.
IoEnd Finish(HANDLE port, OVERLAPPED* overlapped, DWORD limitMs, DWORD* count, DWORD* error) {
    *count = 0;
    if (::WaitForSingleObject(overlapped->hEvent, limitMs) != WAIT_OBJECT_0) {
        ::CancelIoEx(port, overlapped);
        ::GetOverlappedResult(port, overlapped, count, TRUE);
        return IoEnd::TimedOut;
    }
    if (::GetOverlappedResult(port, overlapped, count, FALSE)) return IoEnd::Done;
    *error = ::GetLastError();
    return IoEnd::Failed;
}

// Starts `started` (a ReadFile or WriteFile on `overlapped`) and collects it.
template <class Start>
IoEnd Run(HANDLE port, OVERLAPPED* overlapped, DWORD limitMs, Start started, DWORD* count,
          DWORD* error) {
    if (!started() && (*error = ::GetLastError()) != ERROR_IO_PENDING) return IoEnd::Failed;
    return Finish(port, overlapped, limitMs, count, error);
}

// The rates every usual serial driver takes.
constexpr std::uint32_t kRates[] = {1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};

}  // namespace

bool SerialPort::IsSupportedBaud(std::uint32_t baud) {
    return std::find(std::begin(kRates), std::end(kRates), baud) != std::end(kRates);
}

std::string ComDevicePath(const std::string& name) {
    std::string rest = name;
    if (rest.starts_with("\\\\.\\")) rest.erase(0, 4);
    if (rest.size() < 4 || rest.size() > 6) return {};
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(rest[i])) != "COM"[i]) return {};
    if (rest[3] == '0') return {};
    unsigned number = 0;
    for (std::size_t i = 3; i < rest.size(); ++i) {
        if (rest[i] < '0' || rest[i] > '9') return {};
        number = number * 10 + static_cast<unsigned>(rest[i] - '0');
    }
    if (number > 255) return {};
    return "\\\\.\\COM" + std::to_string(number);
}

// Only COM ports are lines here; a device path or any other name is no port on Windows.
std::shared_ptr<PortBackend> MakeLocalLineBackend(const std::string& name) {
    if (ComDevicePath(name).empty()) return nullptr;
    return std::make_shared<Win32SerialBackend>();
}

Win32SerialBackend::Win32SerialBackend()
    : readEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      writeEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      waitEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32SerialBackend::~Win32SerialBackend() {
    Close();
    for (HANDLE event : {readEvent_, writeEvent_, waitEvent_})
        if (event) ::CloseHandle(event);
}

OpenError Win32SerialBackend::Open(const std::string& name, const LineSettings& settings) {
    Close();
    const std::string path = ComDevicePath(name);
    if (path.empty()) return OpenError::Missing;
    if (!SerialPort::IsSupportedBaud(settings.baud)) return OpenError::BadSettings;
    if (!readEvent_ || !writeEvent_ || !waitEvent_) return OpenError::Other;
    const HANDLE port = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return OpenErrorOf(::GetLastError());
    const auto fail = [port](OpenError error) {
        ::CloseHandle(port);
        return error;
    };

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(port, &dcb)) return fail(OpenError::NotSerial);
    dcb.BaudRate = settings.baud;
    dcb.ByteSize = 8;
    dcb.Parity = settings.parity == 1 ? ODDPARITY : settings.parity == 2 ? EVENPARITY : NOPARITY;
    dcb.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = settings.parity != 0;
    // No flow control of any kind; DTR and RTS stay up as they do on a freshly opened
    // POSIX line (some adapters draw power or take their direction from them).
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    // A framing or parity error must not stop the line until someone clears it.
    dcb.fAbortOnError = FALSE;
    if (!::SetCommState(port, &dcb)) return fail(OpenError::BadSettings);

    // Reads return at once with what waits; a write the driver cannot finish ends after
    // about a second.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 1000;
    if (!::SetCommTimeouts(port, &timeouts)) return fail(OpenError::BadSettings);
    if (!::SetCommMask(port, EV_RXCHAR)) return fail(OpenError::NotSerial);
    // Larger driver queues where the driver lets us choose; the default ones also do.
    ::SetupComm(port, 4096, 4096);
    ::PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    DWORD errors = 0;
    ::ClearCommError(port, &errors, nullptr);

    std::lock_guard lock(waitMutex_);
    waitPending_ = false;
    emptyWaits_ = 0;
    port_.store(port);
    return OpenError::None;
}

void Win32SerialBackend::Close() {
    std::lock_guard lock(waitMutex_);
    const HANDLE port = port_.exchange(nullptr);
    if (!port) return;
    if (waitPending_) {
        // The reader may sleep on this wait; its cancellation sets the event and wakes it.
        ::CancelIoEx(port, &waitOverlapped_);
        DWORD count = 0;
        ::GetOverlappedResult(port, &waitOverlapped_, &count, TRUE);
        waitPending_ = false;
    }
    ::CloseHandle(port);
}

std::size_t Win32SerialBackend::Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) {
    const HANDLE port = port_.load();
    if (!port) return 0;
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(port, &errors, &status)) {
        *gone = LineGone(::GetLastError());
        return 0;
    }
    if (status.cbInQue == 0) return 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, maximum));
    OVERLAPPED overlapped{};
    overlapped.hEvent = readEvent_;
    DWORD count = 0;
    DWORD error = 0;
    const IoEnd end = Run(
        port, &overlapped, kReadLimitMs,
        [&] { return ::ReadFile(port, buffer, want, nullptr, &overlapped); }, &count, &error);
    if (end == IoEnd::Failed) *gone = Gone(port, error);
    return count;
}

bool Win32SerialBackend::Write(const std::uint8_t* bytes, std::size_t length, bool* gone) {
    const HANDLE port = port_.load();
    if (!port) return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    std::size_t done = 0;
    while (done < length) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        OVERLAPPED overlapped{};
        overlapped.hEvent = writeEvent_;
        const DWORD chunk = static_cast<DWORD>(length - done);
        DWORD count = 0;
        DWORD error = 0;
        const IoEnd end = Run(
            port, &overlapped, static_cast<DWORD>(left),
            [&] { return ::WriteFile(port, bytes + done, chunk, nullptr, &overlapped); }, &count,
            &error);
        done += count;
        if (end == IoEnd::Failed) {
            *gone = Gone(port, error);
            return false;
        }
    }
    return true;
}

bool Win32SerialBackend::Wait(Waker& waker, int timeoutMs) {
    const HANDLE wake = reinterpret_cast<HANDLE>(waker.Handle());
    {
        std::unique_lock lock(waitMutex_);
        const HANDLE port = port_.load();
        if (!port) {
            lock.unlock();
            waker.Wait(timeoutMs);
            return true;
        }
        if (emptyWaits_ >= kEmptyWaitsBeforePolling) {
            lock.unlock();
            return PollForInput(wake, timeoutMs);
        }
        if (!waitPending_) {
            waitOverlapped_ = {};
            waitOverlapped_.hEvent = waitEvent_;
            waitMask_ = 0;
            if (::WaitCommEvent(port, &waitMask_, &waitOverlapped_)) return true;
            const DWORD error = ::GetLastError();
            if (error != ERROR_IO_PENDING) return !Gone(port, error);
            waitPending_ = true;
        }
        // Bytes that came before the wait was armed raise no event of their own.
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(port, &errors, &status)) return !LineGone(::GetLastError());
        if (status.cbInQue > 0) return true;
    }
    const HANDLE handles[2] = {waitEvent_, wake};
    const DWORD woken = ::WaitForMultipleObjects(
        2, handles, FALSE, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    if (woken == WAIT_OBJECT_0 + 1) waker.Drain();
    if (woken != WAIT_OBJECT_0) return true;

    std::lock_guard lock(waitMutex_);
    const HANDLE port = port_.load();
    // Closed meanwhile: Close has collected the cancelled wait.
    if (!port || !waitPending_) return true;
    waitPending_ = false;
    DWORD count = 0;
    const bool ended = ::GetOverlappedResult(port, &waitOverlapped_, &count, FALSE);
    const DWORD error = ended ? ERROR_SUCCESS : ::GetLastError();
    if (ended && waitMask_ != 0) {
        emptyWaits_ = 0;
        return true;
    }
    ++emptyWaits_;
    return ended || !Gone(port, error);
}

bool Win32SerialBackend::PollForInput(HANDLE wake, int timeoutMs) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        {
            std::lock_guard lock(waitMutex_);
            const HANDLE port = port_.load();
            if (!port) return true;  // closed meanwhile
            DWORD errors = 0;
            COMSTAT status{};
            if (!::ClearCommError(port, &errors, &status)) return !LineGone(::GetLastError());
            if (status.cbInQue > 0) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (timeoutMs >= 0 && left <= 0) return true;
        const DWORD step = static_cast<DWORD>(
            timeoutMs < 0 ? kPollStepMs : std::min<long long>(left, kPollStepMs));
        if (::WaitForSingleObject(wake, step) == WAIT_OBJECT_0) return true;
    }
}

}  // namespace transport
