mkdir -p $'shop\nlegacy/migrations' $'tab\tapp/migrations'
cp template.txt $'shop\nlegacy/migrations/0002_order_number_idx.py'
cp template.txt $'tab\tapp/migrations/0002_esc\x1b[31m.py'
rm template.txt
