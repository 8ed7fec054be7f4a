// Total bytes: 16

Blocks_1_data:
  .byte 1, 2, 3, 4
  .byte 5, 6, 7, 8
  .byte 60, 60, 60, 60
  .byte 60, 60, 60, 60

Blocks_1_bckgndColor:
  .byte 11

// Total bytes: 2

Blocks_1_screenColors:
  .byte 69, 69

// Total bytes: 2

Blocks_1_colors:
  .byte 15, 15

