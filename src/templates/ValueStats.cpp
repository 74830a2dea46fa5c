#include "ValueStats.h"

#include "Schema.h"
#include "TemplateList.h"

#include <algorithm>

double NumberOf(const CFieldEntry& field) {
    return field.Type() == FieldType::Float ? static_cast<double>(field.m_fValue)
                                            : static_cast<double>(field.m_nValue);
}

std::vector<const CFieldEntry*> TemplateValues(const CTemplateList& templates, int index) {
    std::vector<const CFieldEntry*> values;
    const auto at = static_cast<std::size_t>(index);
    if (CSchema::Get().Fields()[at].m_nType == FieldType::String)
        return values;
    for (std::size_t i = 0; i < templates.Size(); ++i) {
        const CFieldEntry& field = templates.At(i).m_fields[at];
        if (field.m_bPresent)
            values.push_back(&field);
    }
    return values;
}

CValueStats StatsOf(std::vector<const CFieldEntry*> values) {
    CValueStats stats;
    stats.m_nCount = values.size();
    if (values.empty())
        return stats;
    // Stable, and each statistic the first of its equals: of templates with the same value, the
    // one first in the list stands for them.
    auto number = [](const CFieldEntry* field) { return NumberOf(*field); };
    std::ranges::stable_sort(values, {}, number);
    auto firstEqual = [&](std::size_t at) {
        while (at > 0 && number(values[at - 1]) == number(values[at]))
            --at;
        return values[at];
    };
    stats.m_pMin = values.front();
    stats.m_pMedian = firstEqual((values.size() - 1) / 2);
    stats.m_pMax = firstEqual(values.size() - 1);
    return stats;
}
