#pragma once
// Recorded drive answers for the pass-through seam: each drive letter gets a
// GET CONFIGURATION answer and disc-structure answers; every request sent is
// recorded with its header fields and CDB.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "discprobe/detect/pass_through.h"

namespace discprobe_test {

struct TRecordedAnswers {
    std::vector<std::uint8_t> configuration;  // for GET CONFIGURATION from feature 0
    std::vector<std::uint8_t> bdWriteFeature;  // for GET CONFIGURATION from feature 0x41
    std::vector<std::uint8_t> dvdStructure;
    std::vector<std::uint8_t> bdStructure;
    bool failDiscStructure = false;
    bool refuse = false;  // every request, as for a process without the right to send them
};

struct TSentRequest {
    wchar_t letter;
    SCSI_PASS_THROUGH header;
    std::uint32_t inputLength;
    std::size_t outputLength;
    std::vector<std::uint8_t> cdb() const { return {header.Cdb, header.Cdb + header.CdbLength}; }
};

// A GET CONFIGURATION answer whose feature header names a current profile.
inline std::vector<std::uint8_t> ConfigurationWithProfile(std::uint16_t profile) {
    std::vector<std::uint8_t> answer(8, 0);
    answer[3] = 4;
    answer[6] = static_cast<std::uint8_t>(profile >> 8);
    answer[7] = static_cast<std::uint8_t>(profile);
    return answer;
}
inline std::vector<std::uint8_t> DvdPhysicalFormat(int category, int layersBit) {
    std::vector<std::uint8_t> answer(2052, 0);
    answer[4] = static_cast<std::uint8_t>(category << 4 | 1);
    answer[6] = static_cast<std::uint8_t>(layersBit << 5);
    return answer;
}
inline std::vector<std::uint8_t> BluRayDiscInformation(std::uint8_t key) {
    std::vector<std::uint8_t> answer(4100, 0);
    answer[16] = key;
    return answer;
}

class CRecordedTransport : public discprobe::CPassThroughTransport {
public:
    std::map<wchar_t, TRecordedAnswers> drives;
    std::vector<TSentRequest> sent;
    std::vector<wchar_t> opened;

    std::unique_ptr<discprobe::CPassThroughDevice> Open(wchar_t letter) override {
        opened.push_back(letter);
        if (!drives.count(letter)) return nullptr;
        return std::make_unique<CDevice>(*this, letter);
    }

private:
    class CDevice : public discprobe::CPassThroughDevice {
    public:
        CDevice(CRecordedTransport& owner, wchar_t letter) : m_owner(owner), m_letter(letter) {}
        bool Send(std::span<std::uint8_t> request, std::uint32_t inputLength) override {
            SCSI_PASS_THROUGH header;
            std::memcpy(&header, request.data(), sizeof header);
            m_owner.sent.push_back({m_letter, header, inputLength, request.size()});
            const TRecordedAnswers& answers = m_owner.drives[m_letter];
            if (answers.refuse) return false;
            const std::vector<std::uint8_t>* answer = nullptr;
            if (header.Cdb[0] == 0x46)
                answer = header.Cdb[3] == 0x41 ? &answers.bdWriteFeature : &answers.configuration;
            else if (header.Cdb[0] == 0xAD && !answers.failDiscStructure)
                answer = (header.Cdb[1] & 0x0F) == 1 ? &answers.bdStructure : &answers.dvdStructure;
            if (!answer) return false;
            const std::size_t count = std::min<std::size_t>(
                {answer->size(), header.DataTransferLength, request.size() - header.DataBufferOffset});
            std::memcpy(request.data() + header.DataBufferOffset, answer->data(), count);
            return true;
        }

    private:
        CRecordedTransport& m_owner;
        wchar_t m_letter;
    };
};

}  // namespace discprobe_test
