#include "serial_port.h"

namespace transport {

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() {
    Close();
}

void SerialPort::SetParams(const std::string& path, std::uint8_t byteSize, std::uint8_t parity,
                           std::uint8_t stopBits, std::uint32_t baud) {
    path_ = path;
    settings_ = {baud, byteSize, parity, stopBits};
}

int SerialPort::Open() {
    std::lock_guard lock(mutex_);
    CloseLocked();
    std::shared_ptr<PortBackend> backend = MakeBackend(path_);
    if (!backend) {
        openError_ = OpenError::Missing;
        return 0;
    }
    fixedRate_.store(!backend->CanSetRate(), std::memory_order_release);
    openError_ = backend->Open(path_, settings_);
    if (openError_ != OpenError::None) return 0;
    backend_ = std::move(backend);
    lost_.store(false, std::memory_order_release);
    open_.store(true, std::memory_order_release);
    waker_.Wake();
    return 1;
}

void SerialPort::Close() {
    std::lock_guard lock(mutex_);
    CloseLocked();
}

void SerialPort::CloseLocked() {
    open_.store(false, std::memory_order_release);
    if (!backend_) return;
    backend_->Close();
    backend_.reset();
    waker_.Wake();
}

void SerialPort::LoseLocked() {
    if (!backend_) return;
    lost_.store(true, std::memory_order_release);
    CloseLocked();
}

bool SerialPort::CanSetRate() const {
    std::lock_guard lock(mutex_);
    return backend_ ? backend_->CanSetRate() : !FixedRate(path_);
}

bool SerialPort::FixedRate(const std::string& name) {
    // Only made, not opened: the backend knows its scheme's nature without a connection.
    const std::shared_ptr<PortBackend> backend = MakeBackend(name);
    return backend && !backend->CanSetRate();
}

void SerialPort::WaitForInput(int timeoutMs) {
    // The UI thread may close the line while we wait: the wait works on its own reference to
    // the backend, Close wakes it, and a hang-up only counts for the backend still in use.
    std::shared_ptr<PortBackend> backend;
    {
        std::lock_guard lock(mutex_);
        backend = backend_;
    }
    if (!backend) {
        // Nothing to wait on but the waker: a closed port sleeps until it is opened.
        waker_.Wait(timeoutMs);
        return;
    }
    if (backend->Wait(waker_, timeoutMs)) return;
    std::lock_guard lock(mutex_);
    if (backend_ == backend) LoseLocked();
}

std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t maximum) {
    std::lock_guard lock(mutex_);
    if (!open_.load(std::memory_order_relaxed) || !backend_ || maximum == 0) return 0;
    bool gone = false;
    const std::size_t n = backend_->Read(buffer, maximum, &gone);
    if (gone) LoseLocked();
    return n;
}

int SerialPort::Write(const std::uint8_t* bytes, std::size_t length) {
    // Under the lock, so that the reader cannot close the line under a write.
    std::lock_guard lock(mutex_);
    if (!open_.load(std::memory_order_acquire) || !backend_) return 0;
    bool gone = false;
    const bool written = backend_->Write(bytes, length, &gone);
    if (gone) LoseLocked();
    return written ? 1 : 0;
}

}  // namespace transport
