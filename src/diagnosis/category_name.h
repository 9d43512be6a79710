// The name of an expense category, read from the category file by its codes.
#ifndef H5KAKEI_DIAGNOSIS_CATEGORY_NAME_H_
#define H5KAKEI_DIAGNOSIS_CATEGORY_NAME_H_

#include <array>
#include <cstdint>

namespace h5 {

using CategoryNameBuffer = std::array<uint8_t, 20>;

// Fills name_buffer with the category's 20-byte blank-padded ANSI name, or
// with "******" and fourteen blanks when the category is not found. The level
// byte of the key follows from the codes: 0 without a middle code, else 1
// without a minor code, else 2.
void LookupCategoryName(int16_t key_number, int16_t group, int16_t major_code, int16_t middle_code,
                        int16_t minor_code, CategoryNameBuffer& name_buffer);

}  // namespace h5

#endif  // H5KAKEI_DIAGNOSIS_CATEGORY_NAME_H_
