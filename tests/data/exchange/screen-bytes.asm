; (dataset_id, dataset_type), where dataset_type = 0 for charset, 1 for blockset and 2 for tileset
Title_screen_dataset_id:
!byte $05, $00

Title_screen_width:
!byte $03, $00

Title_screen_height:
!byte $01, $00

Title_screen_num_cells:
!byte $03, $00

; 8 bits per entry, $FF = no cell
; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:
;    value | 128            if (n.repetition == 1) and (value < 128)
;   (n.repetition, value)   otherwise
; Total bytes: 4

Title_screen_data:
!byte $02, $01, $01, $FF

; 8 bits per entry, $FF = no cell
; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:
;    value | 128            if (n.repetition == 1) and (value < 128)
;   (n.repetition, value)   otherwise
; Total bytes: 4

Title_screen_color:
!byte $02, $03, $01, $FF

