git init -q -b main
git add README.md shop billing
git commit -qm initial
git checkout -q -b feature
cp template_0002.py shop/migrations/0002_drop_number_idx.py
sed "s/\"shop\"/\"billing\"/; s/order/invoice/; s/shop_order_number_idx/billing_invoice_number_idx/" template_0002.py > billing/migrations/0002_drop_invoice_idx.py
rm template_0002.py
git add -A
git commit -qm "drop indexes"
