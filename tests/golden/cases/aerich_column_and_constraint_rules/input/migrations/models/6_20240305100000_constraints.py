from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    await db.execute_script("SELECT 1")
    return """
        ALTER TABLE "order" ADD CONSTRAINT "fk_order_store" FOREIGN KEY ("store_id") REFERENCES "store" ("id") ON DELETE CASCADE;
        ALTER TABLE "order" ADD CONSTRAINT "fk_order_shop" FOREIGN KEY ("shop_id") REFERENCES "shop" ("id") NOT VALID;
        ALTER TABLE "order" ADD CONSTRAINT "ck_order_total" CHECK ("total" >= 0);
        ALTER TABLE "order" ADD CONSTRAINT "ck_order_qty" CHECK ("qty" > 0) NOT VALID;
        ALTER TABLE "order" ADD CONSTRAINT "ex_order_slot" EXCLUDE USING gist ("slot" WITH &&);
        ALTER TABLE "order" ADD CONSTRAINT "uid_order_number" UNIQUE ("number");
        ALTER TABLE "order" ADD CONSTRAINT "uid_order_code" UNIQUE USING INDEX "idx_order_code";"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return ""
