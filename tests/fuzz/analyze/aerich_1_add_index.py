from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = False


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "book" ADD "isbn" VARCHAR(13);
        CREATE INDEX CONCURRENTLY "idx_book_isbn" ON "book" ("isbn");  -- tarn: ignore R001 (SQL comment)
        COMMENT ON COLUMN "book"."isbn" IS 'ISBN-13';"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        DROP INDEX CONCURRENTLY "idx_book_isbn";
        ALTER TABLE "book" DROP COLUMN "isbn";"""  # tarn: ignore R019


MODELS_STATE = (
    "eJztl1tv2jAUx7+Kleduo5RSrTeJtnNPV9ZULJHdQt7kkRkywtn7DHBvz3JMz2qJlwQt4mjOdf"
    "zs=="
)
