#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// The settings both programs share, exactly as the configuration file stores them:
// 2892 bytes, no header, 32-bit little-endian integers, zero-terminated UTF-8 texts.
struct ConfigRecord {
    int32_t m_bOnlyChildSites;    // 1: only the parents' sites open; anything else: free browsing
    int32_t m_bExitNeedPassword;  // non-zero: closing the browser asks for the password
    int32_t m_bLoginBeforeManage; // non-zero: the control panel asks for the password at start
    int32_t m_bLimitTime;         // 1: the daily allowance is enforced
    int32_t m_nLimitMinutes;      // the allowance in minutes
    int32_t m_bPasswordSet;       // 1 once a parents' password is stored
    char m_szPassword[260];       // MD5 hash text of the password, 32 lower-case hex digits
    int32_t m_nReserved;          // carried along by every save
    int32_t m_bUseOwnHomePage;    // whether the control panel lets the parent edit the home page
    char m_szHomePage[2600];      // the address the browser opens first and in new tabs
};

static_assert(std::endian::native == std::endian::little, "the record is stored little-endian");
static_assert(offsetof(ConfigRecord, m_bOnlyChildSites) == 0x000);
static_assert(offsetof(ConfigRecord, m_bExitNeedPassword) == 0x004);
static_assert(offsetof(ConfigRecord, m_bLoginBeforeManage) == 0x008);
static_assert(offsetof(ConfigRecord, m_bLimitTime) == 0x00C);
static_assert(offsetof(ConfigRecord, m_nLimitMinutes) == 0x010);
static_assert(offsetof(ConfigRecord, m_bPasswordSet) == 0x014);
static_assert(offsetof(ConfigRecord, m_szPassword) == 0x018);
static_assert(offsetof(ConfigRecord, m_nReserved) == 0x11C);
static_assert(offsetof(ConfigRecord, m_bUseOwnHomePage) == 0x120);
static_assert(offsetof(ConfigRecord, m_szHomePage) == 0x124);
static_assert(sizeof(ConfigRecord) == 0xB4C, "the configuration file holds exactly 2892 bytes");

inline constexpr std::size_t kConfigRecordSize = sizeof(ConfigRecord);
