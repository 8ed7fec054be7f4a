; (dataset_id, dataset_type), where dataset_type = 0 for charset, 1 for blockset and 2 for tileset
t_dataset_id:
!byte $05, $00

t_width:
!byte $02, $00

t_height:
!byte $02, $00

t_num_cells:
!byte $04, $00

; 8 bits per entry
; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:
;    value | 128            if (n.repetition == 1) and (value < 128)
;   (n.repetition, value)   otherwise
; Total bytes: 5

t_data:
!byte $83, $01, $C8, $02, $03

; 8 bits per entry
; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:
;    value | 128            if (n.repetition == 1) and (value < 128)
;   (n.repetition, value)   otherwise
; Total bytes: 5

t_color:
!byte $8E, $81, $8E, $01, $FF

