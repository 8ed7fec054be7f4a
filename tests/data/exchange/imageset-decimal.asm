// Total bytes: 16

b_data:
  .byte 204, 204, 204, 204
  .byte 204, 204, 204, 204
  .byte 221, 221, 221, 221
  .byte 221, 221, 221, 221

b_bckgndColor:
  .byte 11

// Total bytes: 3

b_screenColors:
  .byte 69, 137, 69

// Total bytes: 2

b_colors:
  .byte 3, 12

