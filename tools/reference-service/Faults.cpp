#include "Faults.h"

#include "TextUtil.h"

#include <algorithm>

namespace qarvon::refsvc {

std::optional<FaultSpec> ParseFaultSpec(std::string_view text, std::string &error)
{
    FaultSpec spec;
    const auto items = SplitList(text, ',');
    if (items.empty()) {
        error = "empty fault";
        return std::nullopt;
    }
    for (const std::string &item : items) {
        const auto eq = item.find('=');
        const std::string key = Trim(item.substr(0, eq));
        const std::string value
            = eq == std::string::npos ? std::string() : Trim(item.substr(eq + 1));
        long long number = 0;
        const bool numeric = ParseInt64(value, number);
        auto flag = [&](bool &target) {
            if (value.empty() || value == "1" || value == "true")
                target = true;
            else if (value == "0" || value == "false")
                target = false;
            else
                return false;
            return true;
        };
        bool ok = true;
        if (key == "malformed")
            ok = flag(spec.malformed);
        else if (key == "gbk")
            ok = flag(spec.gbk);
        else if (key == "redirect")
            ok = flag(spec.redirect);
        else if (!numeric || number < 0)
            ok = false;
        else if (key == "delay" && number <= 600000)
            spec.delayMs = static_cast<int>(number);
        else if (key == "status" && number >= 100 && number <= 599)
            spec.status = static_cast<int>(number);
        else if (key == "cut")
            spec.cutAt = number;
        else if (key == "drop")
            spec.dropAt = number;
        else if (key == "trickle" && number >= 1 && number <= 1 << 30)
            spec.trickle = static_cast<int>(number);
        else if (key == "count" && number >= 1 && number <= 1000000)
            spec.count = static_cast<int>(number);
        else
            ok = false;
        if (!ok) {
            error = "bad fault item \"" + item + "\"";
            return std::nullopt;
        }
    }
    return spec;
}

std::size_t FaultSpec::tricklePiece() const
{
    // In 64 bits: the largest allowed rate times the interval does not fit an int.
    const long long piece = static_cast<long long>(trickle) * kTrickleIntervalMs / 1000;
    return static_cast<std::size_t>(std::max(1LL, piece));
}

std::string DescribeFault(const FaultSpec &spec)
{
    std::string out;
    auto add = [&out](const std::string &item) {
        if (!out.empty())
            out += ',';
        out += item;
    };
    if (spec.delayMs > 0)
        add("delay=" + std::to_string(spec.delayMs));
    if (spec.status > 0)
        add("status=" + std::to_string(spec.status));
    if (spec.cutAt >= 0)
        add("cut=" + std::to_string(spec.cutAt));
    if (spec.dropAt >= 0)
        add("drop=" + std::to_string(spec.dropAt));
    if (spec.trickle > 0)
        add("trickle=" + std::to_string(spec.trickle));
    if (spec.malformed)
        add("malformed");
    if (spec.gbk)
        add("gbk");
    if (spec.redirect)
        add("redirect");
    if (spec.count >= 0)
        add("count=" + std::to_string(spec.count));
    return out;
}

bool ValidFaultTarget(std::string_view target)
{
    if (target == "*")
        return true;
    if (target.starts_with("Qarvon.") && target.size() > 7)
        return true;
    // The control endpoint itself stays reachable whatever is switched on.
    return target.starts_with("/") && !target.starts_with("/control");
}

void FaultTable::set(const std::string &target, const FaultSpec &spec)
{
    std::lock_guard lock(m_mutex);
    m_faults[target] = spec;
}

bool FaultTable::clear(const std::string &target)
{
    std::lock_guard lock(m_mutex);
    return m_faults.erase(target) > 0;
}

void FaultTable::clearAll()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

std::optional<FaultSpec> FaultTable::take(std::string_view method, std::string_view path)
{
    if (path.starts_with("/control"))
        return std::nullopt;
    std::lock_guard lock(m_mutex);
    auto found = m_faults.end();
    if (!method.empty())
        found = m_faults.find(std::string(method));
    if (found == m_faults.end()) {
        std::size_t best = 0;
        for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
            if (it->first.starts_with('/') && path.starts_with(it->first)
                && it->first.size() > best) {
                best = it->first.size();
                found = it;
            }
        }
    }
    if (found == m_faults.end())
        found = m_faults.find("*");
    if (found == m_faults.end())
        return std::nullopt;
    FaultSpec spec = found->second;
    if (found->second.count > 0 && --found->second.count == 0)
        m_faults.erase(found);
    return spec;
}

std::vector<std::pair<std::string, FaultSpec>> FaultTable::list() const
{
    std::lock_guard lock(m_mutex);
    return {m_faults.begin(), m_faults.end()};
}

} // namespace qarvon::refsvc
