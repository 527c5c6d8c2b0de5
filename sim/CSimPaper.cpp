#include "CSimPaper.h"

#include <cstdio>
#include <iostream>

#include "ReceiptPng.h"
#include "ReceiptRenderer.h"

CSimPaper::CSimPaper(std::filesystem::path folder)
    : m_folder(std::move(folder)), m_thread(&CSimPaper::Run, this) {}

CSimPaper::~CSimPaper() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CSimPaper::Heard(std::span<const std::uint8_t> bytes, const CSimProtocol::Record& record) {
    {
        std::lock_guard lock(m_mutex);
        // A settings conversation just before the print is part of the same burst; the receipt
        // takes the settings the printer held when its paper first moved.
        if (!m_paperMoved) {
            m_record = record;
        }
        m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
        if (!m_paperMoved) {
            m_paperMoved =
                RenderReceipt(m_pending, PrinterSettings::FromBytes(record)).Height() > 0;
        }
        m_lastHeard = std::chrono::steady_clock::now();
    }
    m_wake.notify_all();
}

std::vector<std::filesystem::path> CSimPaper::Written() const {
    std::lock_guard lock(m_mutex);
    return m_written;
}

void CSimPaper::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_pending.empty()) {
            if (m_stop) {
                return;
            }
            m_wake.wait(lock);
            continue;
        }
        // Stopping prints at once what is left; otherwise the receipt waits for its quiet
        // second, counted again from every byte heard meanwhile.
        if (!m_stop) {
            m_wake.wait_until(lock, m_lastHeard + kReceiptQuiet);
            if (!m_stop && std::chrono::steady_clock::now() < m_lastHeard + kReceiptQuiet) {
                continue;
            }
        }
        const std::vector<std::uint8_t> bytes = std::move(m_pending);
        m_pending.clear();
        m_paperMoved = false;
        const CSimProtocol::Record record = m_record;
        lock.unlock();
        PrintReceipt(bytes, record);
        lock.lock();
    }
}

void CSimPaper::PrintReceipt(const std::vector<std::uint8_t>& bytes,
                             const CSimProtocol::Record& record) {
    CReceiptRenderer renderer(PrinterSettings::FromBytes(record));
    renderer.Print(bytes);
    const Raster raster = renderer.Finish();
    if (raster.Height() == 0) {
        return;
    }
    std::filesystem::path path;
    {
        std::lock_guard lock(m_mutex);
        char name[32];
        do {
            std::snprintf(name, sizeof name, "receipt-%04d.png", m_next++);
            path = m_folder / name;
        } while (std::filesystem::exists(path));
    }
    std::string error;
    if (!WriteReceiptPng(raster, renderer.Contrast(), path.string(), error)) {
        std::cerr << "tq20-sim: " << error << "\n";
        return;
    }
    std::lock_guard lock(m_mutex);
    m_written.push_back(path);
}
