mkdir -p $'shop\nlegacy/migrations'
cp template.txt $'shop\nlegacy/migrations/0002_order_number_idx.py'
rm template.txt
