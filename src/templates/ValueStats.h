#pragma once

#include <cstddef>
#include <vector>

class CFieldEntry;
class CTemplateList;

// Where the values of one number field stand among the templates: the least, the median and
// the greatest of the values the templates set. Each is a template's own field, so that it shows
// exactly as that template's value does: the median of an even count is the lower of the two
// middle values, never a mean that no template has.
struct CValueStats {
    std::size_t m_nCount = 0; // templates that set the field; the rest is empty when 0
    const CFieldEntry* m_pMin = nullptr;
    const CFieldEntry* m_pMedian = nullptr;
    const CFieldEntry* m_pMax = nullptr;
};

// A present Float or Integer field's value as a number (an Integer's exactly).
double NumberOf(const CFieldEntry& field);

// The fields that the templates set at the schema position index, in list order; none for a
// String field. They stay valid while the templates do.
std::vector<const CFieldEntry*> TemplateValues(const CTemplateList& templates, int index);
// The same for the templates' field lists (each template's m_fields.data()).
std::vector<const CFieldEntry*> TemplateValues(const std::vector<const CFieldEntry*>& fieldLists,
                                               int index);

// The statistics of values (as TemplateValues gives them).
CValueStats StatsOf(std::vector<const CFieldEntry*> values);
