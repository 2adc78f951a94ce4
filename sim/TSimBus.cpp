#include "TSimBus.h"

#include "TSimAnswerBuilder.h"

#include <algorithm>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// A request that stalls this long is abandoned, as a slave resets its
// receiver on a gap in the character stream.
constexpr auto ReceiveGap = std::chrono::milliseconds(100);

template <typename TDevices>
auto& DeviceIn(TDevices& devices, int pollingAddress)
{
    for (auto& device : devices)
        if (device.HasPollingAddress(pollingAddress))
            return device;
    throw std::out_of_range("No device at polling address " + std::to_string(pollingAddress));
}

} // namespace

TSimBus::TSimBus(const QString& linkPath)
    : linkPath(linkPath), terminal(std::make_unique<TSimPseudoTerminal>(linkPath))
{
    wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0)
        throw std::runtime_error("Cannot create the wake-up event of the simulated bus");
}

TSimBus::~TSimBus()
{
    Stop();
    ::close(wakeFd);
}

void TSimBus::Start()
{
    if (thread.joinable() || !terminal)
        return;
    stopping = false;
    thread = std::thread(&TSimBus::Run, this);
}

void TSimBus::Stop()
{
    if (!thread.joinable())
        return;
    stopping = true;
    Wake();
    thread.join();
}

void TSimBus::Unplug()
{
    Stop();
    terminal.reset();
}

void TSimBus::PlugIn()
{
    if (!terminal)
        terminal = std::make_unique<TSimPseudoTerminal>(linkPath);
    Start();
}

void TSimBus::AddDevice(const TSimDeviceState& device)
{
    const std::lock_guard<std::mutex> lock(mutex);
    for (const TSimDevice& present : devices) {
        if (present.HasPollingAddress(device.PollingAddress))
            throw std::invalid_argument("A device already uses polling address "
                                        + std::to_string(device.PollingAddress));
        // Both would take every long frame for one of them: a loop of several
        // probes of one kind needs a device ID for each.
        if (present.State().UniqueAddress() == device.UniqueAddress())
            throw std::invalid_argument("A device already has the unique address of the device at polling address "
                                        + std::to_string(device.PollingAddress));
    }
    devices.emplace_back(device);
}

void TSimBus::RemoveDevice(int pollingAddress)
{
    const std::lock_guard<std::mutex> lock(mutex);
    devices.erase(std::remove_if(devices.begin(), devices.end(),
                                 [pollingAddress](const TSimDevice& d) { return d.HasPollingAddress(pollingAddress); }),
                  devices.end());
}

TSimDeviceState TSimBus::Device(int pollingAddress) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return DeviceIn(devices, pollingAddress).State();
}

QList<TSimDeviceState> TSimBus::Devices() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    QList<TSimDeviceState> states;
    for (const TSimDevice& device : devices)
        states.append(device.State());
    return states;
}

void TSimBus::ModifyDevice(int pollingAddress, const std::function<void(TSimDeviceState&)>& change)
{
    const std::lock_guard<std::mutex> lock(mutex);
    change(DeviceIn(devices, pollingAddress).State());
}

void TSimBus::AddFault(const TSimFault& fault)
{
    const std::lock_guard<std::mutex> lock(mutex);
    faults.Add(fault);
}

void TSimBus::ClearFaults()
{
    const std::lock_guard<std::mutex> lock(mutex);
    faults.Clear();
}

void TSimBus::SetWireTiming(bool pace1200Baud, int turnaroundMs)
{
    const std::lock_guard<std::mutex> lock(mutex);
    transmitter.SetTiming(pace1200Baud, turnaroundMs);
}

bool TSimBus::WaitForRequestCount(int command, int count, int timeoutMs) const
{
    return log.WaitForRequestCount(command, count, timeoutMs);
}

void TSimBus::SetObserver(const std::function<void(const TSimExchange&)>& exchangeObserver)
{
    observer = exchangeObserver;
}

void TSimBus::Run()
{
    while (!stopping) {
        pollfd watched[] = {{terminal->MasterFd(), POLLIN, 0}, {wakeFd, POLLIN, 0}};
        ::poll(watched, 2, PollTimeoutMs(TClock::now()));
        if (watched[1].revents & POLLIN) {
            eventfd_t ignored;
            eventfd_read(wakeFd, &ignored);
        }
        if (watched[0].revents & POLLIN)
            Receive(TClock::now());
        if (parser.InFrame() && TClock::now() - lastByte > ReceiveGap)
            parser.Reset();
        Transmit(TClock::now());
    }
}

// Sleeps until the next answer byte is due or a begun request goes stale;
// otherwise until bytes arrive or Stop() wakes the thread.
int TSimBus::PollTimeoutMs(TClock::time_point now)
{
    std::optional<TClock::time_point> deadline;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        deadline = transmitter.NextDue();
    }
    if (parser.InFrame())
        deadline = std::min(deadline.value_or(TClock::time_point::max()), lastByte + ReceiveGap);
    if (!deadline)
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*deadline - now);
    return int(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)) + 1;
}

void TSimBus::Receive(TClock::time_point now)
{
    char buffer[256];
    const ssize_t count = ::read(terminal->MasterFd(), buffer, sizeof buffer);
    for (ssize_t i = 0; i < count; ++i)
        if (const std::optional<TSimFrame> request = parser.Feed(quint8(buffer[i])))
            Process(*request, now);
    if (count > 0)
        lastByte = now;
}

void TSimBus::Process(const TSimFrame& request, TClock::time_point now)
{
    TSimExchange exchange;
    exchange.Request = request.Bytes();
    exchange.ChecksumValid = request.ChecksumValid();
    exchange.LongFrame = request.IsLong();
    exchange.Command = request.Command;
    exchange.Data = request.Data;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        TSimDevice* device = exchange.ChecksumValid ? Addressed(request) : nullptr;
        if (device) {
            exchange.PollingAddress = device->State().PollingAddress;
            const TSimAnswer answer = TSimAnswerBuilder::Answer(
                *device, request, faults.Take(exchange.PollingAddress, request.Command));
            exchange.Executed = answer.Executed;
            exchange.Answered = answer.Sent;
            exchange.Answer = answer.Bytes;
            exchange.Faults = answer.Faults;
            if (answer.Sent)
                transmitter.Send(answer.Bytes, answer.DelayMs, now);
        }
    }
    log.Add(exchange);
    if (observer)
        observer(exchange);
}

void TSimBus::Transmit(TClock::time_point now)
{
    QByteArray due;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        due = transmitter.TakeDue(now);
    }
    if (due.isEmpty())
        return;
    // Bytes that find the line's buffer full are lost, as on a line nobody listens to.
    [[maybe_unused]] const ssize_t written = ::write(terminal->MasterFd(), due.constData(), size_t(due.size()));
}

// Short frames address a device by polling address, and only with command 0;
// long frames by the unique address.
TSimDevice* TSimBus::Addressed(const TSimFrame& request)
{
    const auto addressed = [&request](const TSimDevice& device) {
        if (request.IsLong())
            return device.HasUniqueAddress(request.Address);
        return request.Command == 0 && device.HasPollingAddress(quint8(request.Address[0]) & 0x3F);
    };
    const auto found = std::find_if(devices.begin(), devices.end(), addressed);
    return found == devices.end() ? nullptr : &*found;
}

void TSimBus::Wake()
{
    eventfd_write(wakeFd, 1);
}
