#include "ValueStats.h"

#include "Schema.h"
#include "TemplateList.h"

#include <algorithm>

double NumberOf(const CFieldEntry& field) {
    return field.Type() == FieldType::Float ? static_cast<double>(field.m_fValue)
                                            : static_cast<double>(field.m_nValue);
}

std::vector<const CFieldEntry*> TemplateValues(const CTemplateList& templates, int index) {
    std::vector<const CFieldEntry*> fieldLists;
    fieldLists.reserve(templates.Size());
    for (std::size_t i = 0; i < templates.Size(); ++i)
        fieldLists.push_back(templates.At(i).m_fields.data());
    return TemplateValues(fieldLists, index);
}

std::vector<const CFieldEntry*> TemplateValues(const std::vector<const CFieldEntry*>& fieldLists,
                                               int index) {
    std::vector<const CFieldEntry*> values;
    const auto at = static_cast<std::size_t>(index);
    if (CSchema::Get().Fields()[at].m_nType == FieldType::String)
        return values;
    values.reserve(fieldLists.size());
    for (const CFieldEntry* fields : fieldLists) {
        if (fields[at].m_bPresent)
            values.push_back(&fields[at]);
    }
    return values;
}

CValueStats StatsOf(std::vector<const CFieldEntry*> values) {
    CValueStats stats;
    stats.m_nCount = values.size();
    if (values.empty())
        return stats;
    // In linear time rather than by sorting: the comparison asks for the figures of every row it
    // shows, over a thousand templates. Of templates with the same value, the one first in the
    // list stands for them.
    std::vector<double> numbers;
    numbers.reserve(values.size());
    for (const CFieldEntry* field : values)
        numbers.push_back(NumberOf(*field));
    std::size_t least = 0, greatest = 0;
    for (std::size_t i = 1; i < numbers.size(); ++i) {
        least = numbers[i] < numbers[least] ? i : least;
        greatest = numbers[i] > numbers[greatest] ? i : greatest;
    }
    std::vector<double> sorted = numbers;
    const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>((sorted.size() - 1) / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    const auto median = std::ranges::find(numbers, *middle) - numbers.begin();
    stats.m_pMin = values[least];
    stats.m_pMedian = values[static_cast<std::size_t>(median)];
    stats.m_pMax = values[greatest];
    return stats;
}
